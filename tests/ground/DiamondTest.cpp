#include "GroundFixture.h"

#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "player/MyShip.h"

#include <array>

namespace {

class DiamondTest : public GroundTest {
protected:
    Diamond* capsuleFrom(Cube* cube) {
        Diamond* d = new Diamond(cube);
        list.add(d);
        return d;
    }
};

std::array<int, 4> tallyTypes(const MyShip* ship, int draws) {
    std::array<int, 4> seen{};
    for (int i = 0; i < draws; ++i)
        seen[Diamond::chooseCapsuleType(ship)]++;
    return seen;
}

TEST_F(DiamondTest, TheDrawPicksBombShieldInvulnerabilityPower) {
    constexpr int byDraw[4] = {Diamond::Bomb, Diamond::Shield, Diamond::Invulnerability, Diamond::Power};
    for (unsigned seed = 1; seed < 40; ++seed) {
        std::srand(seed);
        const int r = gameRand() % 4;
        std::srand(seed);
        EXPECT_EQ(Diamond::chooseCapsuleType(nullptr), byDraw[r]) << "seed " << seed;
    }
}

TEST_F(DiamondTest, NoPowerCapsuleFromWeaponLevelSeven) {
    MyShip* ship = spawn<MyShip>(100);
    struct Case {
        int weaponLevel;
        bool powerPossible;
    };
    for (const Case c : {Case{0, true}, Case{6, true}, Case{7, false}, Case{12, false}}) {
        ship->weaponLevel = c.weaponLevel;
        const auto seen = tallyTypes(ship, 4000);
        EXPECT_EQ(seen[Diamond::Power] > 0, c.powerPossible) << "level " << c.weaponLevel;
        for (int type : {Diamond::Shield, Diamond::Bomb, Diamond::Invulnerability})
            EXPECT_GT(seen[type], 900) << "level " << c.weaponLevel << " type " << type;
    }
    EXPECT_GT(tallyTypes(nullptr, 4000)[Diamond::Power], 800);
}

TEST_F(DiamondTest, TheEnginesShipDecidesForANewCapsule) {
    MyShip* ship = spawn<MyShip>(100);
    ship->weaponLevel = 7;
    engine->ship = ship;
    Cube* cube = spawn<Cube>(1, 4);
    for (int i = 0; i < 300; ++i) {
        Diamond* capsule = capsuleFrom(cube);
        EXPECT_NE(capsule->capsuleType, Diamond::Power);
    }
    engine->ship = nullptr;
}

TEST_F(DiamondTest, DriftsSpinningTowardsThePlayerAndGoes) {
    Cube* cube = spawn<Cube>(1, -3);
    Diamond* capsule = capsuleFrom(cube);
    while (capsule->capsuleType == Diamond::Power)
        capsule = capsuleFrom(cube);
    EXPECT_EQ(capsule->kind, KindDiamond);
    EXPECT_FLOAT_EQ(capsule->vz, -0.1f);
    int ticks = 0;
    while (!capsule->dead && ticks < 2000) {
        capsule->move();
        ++ticks;
    }
    EXPECT_NEAR(ticks, 731, 2);
    EXPECT_FLOAT_EQ(capsule->angle, 3.0f * static_cast<float>(ticks));
    EXPECT_FLOAT_EQ(capsule->sizeX, 1.0f);
}

TEST_F(DiamondTest, APowerCapsuleShrinksAwayAfterTheMiddle) {
    Cube* cube = spawn<Cube>(1, 0);
    Diamond* capsule = nullptr;
    while (!capsule || capsule->capsuleType != Diamond::Power)
        capsule = capsuleFrom(cube);
    EXPECT_FLOAT_EQ(capsule->sizeX, 1.6f);
    capsule->z = 40.25f;
    capsule->move();
    capsule->move();
    EXPECT_FLOAT_EQ(capsule->sizeX, 1.6f); // still before the middle
    int ticks = 0;
    while (!capsule->dead) {
        capsule->move();
        ++ticks;
        EXPECT_FLOAT_EQ(capsule->sizeY, capsule->sizeX);
        EXPECT_FLOAT_EQ(capsule->sizeZ, capsule->sizeX);
    }
    EXPECT_LE(capsule->sizeX, 0.0f);
    EXPECT_GT(capsule->z, 10.0f);
    EXPECT_NEAR(ticks, 1.6 / 0.007, 1.5);
}

struct ShotCase {
    int before;
    int otherKind;
    int after;
};

TEST_F(DiamondTest, ShootingFlipsShieldAndBombOnly) {
    constexpr ShotCase cases[] = {
        {Diamond::Shield, KindMyFire1, Diamond::Bomb},
        {Diamond::Bomb, KindMyFire1, Diamond::Shield},
        {Diamond::Power, KindMyFire1, Diamond::Power},
        {Diamond::Invulnerability, KindMyFire1, Diamond::Invulnerability},
        {Diamond::Shield, KindMyFire2, Diamond::Shield},
        {Diamond::Bomb, KindMyFire4, Diamond::Bomb},
        {Diamond::Shield, KindCube, Diamond::Shield},
    };
    Cube* cube = spawn<Cube>(1, 0);
    for (const ShotCase& c : cases) {
        Diamond* capsule = capsuleFrom(cube);
        capsule->capsuleType = c.before;
        Probe other(&list, c.otherKind);
        capsule->collide(&other);
        EXPECT_EQ(capsule->capsuleType, c.after) << c.before << " hit by kind " << c.otherKind;
        EXPECT_FALSE(capsule->dead);
        EXPECT_EQ(other.points, 0);
    }
    Diamond* capsule = capsuleFrom(cube);
    capsule->capsuleType = Diamond::Shield;
    Probe shot(&list, KindMyFire1);
    capsule->collide(&shot);
    capsule->collide(&shot);
    EXPECT_EQ(capsule->capsuleType, Diamond::Shield);
}

TEST_F(DiamondTest, TheShipCollectsItForFiveHundredOnce) {
    Cube* cube = spawn<Cube>(1, 0);
    Diamond* capsule = capsuleFrom(cube);
    Probe ship(&list, KindMyShip);
    capsule->collide(&ship);
    EXPECT_TRUE(capsule->dead);
    EXPECT_EQ(ship.points, 500);
    capsule->collide(&ship);
    EXPECT_EQ(ship.points, 500);
}

} // namespace
