// The cubes and their capsules, the traps and their star missiles, the nests and their scratchers.
#include "GameFixture.h"

namespace {

using Ground = GameTest;

// Friction (on the floor only) brings a knocked cube back to the floor's drift: spin by 0.03 a frame
// whatever the step, sideways by 0.03 a tick, depth in steps of 0.08 that may swing about −0.1.
TEST_F(Ground, FrictionBringsACubeBackToTheFloorDrift) {
    Cube* cube = spawn<Cube>(5, 0);
    Probe shot(sprites(), KindMyFire1, -1, 0.5f, 70);
    cube->collide(&shot);
    float spin = cube->spin;
    for (int i = 0; i < 400; ++i) {
        cube->move();
        EXPECT_LE(std::fabs(cube->spin), spin);
        spin = std::fabs(cube->spin);
    }
    EXPECT_TRUE(cube->vx == 0 && cube->spin == 0 && cube->vz == -0.1f && cube->y == 0.5f && cube->x > 1);
    cube->vz = 0.25f;
    float sum = 0;
    for (int i = 0; i < 100; ++i) {
        cube->move();
        EXPECT_TRUE(cube->vz >= -0.16f && cube->vz <= (i < 10 ? 0.25f : -0.06f)) << i;
        sum += i >= 50 ? cube->vz : 0;
    }
    EXPECT_NEAR(sum / 50, -0.1f, 0.02f);
    const float angle = cube->angle;
    std::tie(cube->spin, engine->frameStep) = std::tuple{1.0f, 4.0f};
    cube->move();
    EXPECT_TRUE(cube->spin == 0.97f && cube->angle == angle + 0.97f * 4);
    std::tie(cube->x, cube->vx, cube->spin) = std::tuple{13.0f, 0.3f, 5.0f};
    cube->move(); // still at rest height: friction once more, then it falls
    const float vx = cube->vx, fallingSpin = cube->spin;
    moveTimes(cube, 10);
    EXPECT_TRUE(cube->vx == vx && cube->spin == fallingSpin && cube->y < 0.5f);
}

// One destroyed cube in five leaves a capsule where it died, lying on the floor.
TEST_F(Ground, OneCubeInFiveLeavesACapsule) {
    int capsules = 0;
    for (int i = 0; i < 1000; ++i) {
        Cube* cube = spawn<Cube>(1, i % 21 - 10);
        cube->z = 30.0f + static_cast<float>(i % 7);
        Probe bomb(sprites(), KindMyFire2);
        cube->collide(&bomb);
        if (Diamond* capsule = first<Diamond>()) {
            EXPECT_TRUE(capsule->x == cube->x && capsule->z == cube->z && capsule->y == 0.1f);
            ++capsules;
        }
        sprites()->destroyAll();
    }
    EXPECT_TRUE(capsules > 150 && capsules < 250) << capsules;
}

// Each capsule type comes, but no power capsule from weapon level 7 (the Engine's ship decides).
TEST_F(Ground, CapsuleTypesFollowTheWeaponLevel) {
    MyShip* ship = flyingShip();
    Cube* cube = spawn<Cube>(1, 0);
    for (int level : {0, 6, 7, 12}) {
        ship->weaponLevel = level;
        std::array<int, 4> seen{};
        for (int i = 0; i < 4000; ++i)
            seen[add(new Diamond(cube))->capsuleType]++;
        EXPECT_EQ(seen[Diamond::Power] > 0, level < 7) << level;
        for (int type : {Diamond::Shield, Diamond::Bomb, Diamond::Invulnerability})
            EXPECT_GT(seen[type], level < 7 ? 900 : 1200) << level;
    }
}

// Shooting a shield capsule makes it a bomb capsule and back; nothing else changes a capsule; a power
// capsule shrinks from the middle of the field on, evenly on every side.
TEST_F(Ground, CapsulesChangeOnlyAsTheyShould) {
    Cube* cube = spawn<Cube>(1, 0);
    // clang-format off
    constexpr int cases[][3] = {{Diamond::Shield, KindMyFire1, Diamond::Bomb}, {Diamond::Bomb, KindMyFire1, Diamond::Shield},
        {Diamond::Power, KindMyFire1, Diamond::Power}, {Diamond::Invulnerability, KindMyFire1, Diamond::Invulnerability},
        {Diamond::Shield, KindMyFire2, Diamond::Shield}, {Diamond::Bomb, KindMyFire4, Diamond::Bomb},
        {Diamond::Shield, KindCube, Diamond::Shield}};
    // clang-format on
    for (const auto& [before, kind, after] : cases) {
        Diamond* capsule = add(new Diamond(cube));
        capsule->capsuleType = before;
        Probe other(sprites(), kind);
        capsule->collide(&other);
        EXPECT_EQ(capsule->capsuleType, after) << before << " hit by kind " << kind;
    }
    Diamond* power = add(new Diamond(cube));
    while (power->capsuleType != Diamond::Power)
        power = add(new Diamond(cube));
    power->z = 40.25f;
    moveTimes(power, 2);
    EXPECT_FLOAT_EQ(power->sizeX, 1.6f);
    power->move();
    EXPECT_TRUE(power->sizeX < 1.6f && power->sizeY == power->sizeX && power->sizeZ == power->sizeX);
}

class Traps : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        now = 100000;
        trap = spawn<Piege>();
        ship = flyingShip(trap->x, trap->z);
    }
    // One frame as the loop runs it: the trap moves, then touches the ship if it is still inside.
    void frame(bool inside) {
        trap->move();
        if (inside)
            trap->collide(ship);
    }
    MyShip* ship = nullptr;
    Piege* trap = nullptr;
};

// Only the ship sets a trap off. No missile while the ship stays inside; after it leaves, one every
// LaunchPeriod (2 ticks, counted per frame) until 20 ticks past the last contact; then the ship's
// watcher slot is free again.
TEST_F(Traps, MissilesRainAfterTheShipLeaves) {
    for (int kind = KindMyFire1; kind <= KindMyFire4Smoke; ++kind) {
        Probe other(sprites(), kind);
        trap->collide(&other);
        EXPECT_EQ(trap->state, Piege::Idle) << kind;
    }
    struct Rain {
        float step;
        float first, every, length, tolerance;
    };
    for (const Rain r : {Rain{1, 4, 3, 20, 0}, Rain{0.1f, 2.2f, 2.1f, 19.1f, 0.15f}}) {
        engine->frameStep = r.step;
        const int earlier = count<Spirale>();
        for (int i = 0; i < 50; ++i)
            frame(true);
        EXPECT_EQ(count<Spirale>(), earlier);
        std::vector<float> launches;
        float t = 0;
        while (trap->state == Piege::Alarm && t < 100) {
            const int before = count<Spirale>();
            frame(false);
            t += r.step;
            if (count<Spirale>() > before)
                launches.push_back(t);
        }
        ASSERT_GE(launches.size(), 6u);
        EXPECT_NEAR(launches[0], r.first, r.tolerance);
        for (size_t i = 1; i < launches.size(); ++i)
            EXPECT_NEAR(launches[i] - launches[i - 1], r.every, r.tolerance) << r.step;
        EXPECT_NEAR(t, r.length, r.tolerance + 0.05f);
        EXPECT_TRUE(trap->alarmTimer == 0 && trap->victim == nullptr && ship->watcherCount == 0);
    }
    const int rained = count<Spirale>();
    for (int i = 0; i < 30; ++i)
        frame(false);
    EXPECT_EQ(count<Spirale>(), rained);
}

// The alarm sound is not restarted within two seconds; the alarm stops when the ship is gone, and a removed
// ship or trap leaves no pointer behind.
TEST_F(Traps, TheAlarmFollowsTheShipWhileItLasts) {
    frame(true);
    frame(true);
    EXPECT_TRUE(trap->alarmSounding == 1 && trap->alarmStart == 100000u && ship->watcherCount == 0);
    for (Uint32 ms : {2000u, 2001u}) {
        now = 100000 + ms;
        frame(true);
        EXPECT_EQ(trap->alarmStart, ms > 2000 ? now : 100000u);
    }
    ship->dead = 1;
    sprites()->removeDead(); // the trap lets go at its next move
    EXPECT_EQ(engine->ship, nullptr);
    trap->launchTimer = 3; // a missile due
    frame(false);
    EXPECT_EQ(trap->state, Piege::Idle);
    EXPECT_EQ(count<Spirale>(), 0);
    ship = flyingShip();
    frame(true);
    engine->ship = nullptr;
    frame(false);
    EXPECT_TRUE(trap->state == Piege::Idle && trap->victim == nullptr && ship->watcherCount == 0);
    engine->ship = ship;
    frame(true);
    trap->dead = 1;
    sprites()->removeDead();
    EXPECT_EQ(ship->watcherCount, 0);
}

// A nest hatches about once in 200 ticks; a destroyed one stops; a bench nest hatches
// straight ahead every period, destroyed or not.
TEST_F(Ground, NestsHatchScratchers) {
    Tache* nest = spawn<Tache>(3.0f, 9);
    moveTimes(nest, 20000, 60);
    EXPECT_TRUE(count<Scratcher>() > 70 && count<Scratcher>() < 130) << count<Scratcher>();
    sprites()->destroyAll();
    nest = spawn<Tache>(0.0f, 9);
    Probe bomb(sprites(), KindMyFire2);
    nest->collide(&bomb);
    moveTimes(nest, 5000, 60);
    EXPECT_EQ(count<Scratcher>(), 0);
    TacheBench* bench = spawn<TacheBench>(5.0f, 100.0f);
    for (int round = 1; round <= 2; ++round) {
        moveTimes(bench, 1000, 60);
        EXPECT_EQ(count<Scratcher>(), round == 1 ? 9 : 19); // at ticks 101, 201, ...
        bench->collide(&bomb);
    }
    const Scratcher* last = static_cast<Scratcher*>(sprites()->tail);
    EXPECT_TRUE(last->x == 5 && last->vx == 0 && last->vz == (25 - last->z) / 120);
}

// A scratcher lands on its aim point after 120 ticks, high over the field, and blows up there; a hatched
// one aims at the ship under the list's cursor two times in three, else anywhere in the near field.
TEST_F(Ground, ScratchersJumpAtTheShip) {
    Scratcher* s = spawn<Scratcher>(-2.0f, 60.0f, true);
    float peak = 0;
    for (int i = 0; i < 120; ++i) {
        s->move();
        peak = std::max(peak, s->y);
    }
    EXPECT_TRUE(std::fabs(s->x + 2) < 1e-3f && std::fabs(s->z - 25) < 1e-3f && std::fabs(s->y) < 2e-3f);
    EXPECT_TRUE(!s->dead && peak > 9);
    sprites()->destroyAll();
    MyShip* ship = flyingShip(4, 10); // first in the list: the cursor rests on it
    for (bool shipThere : {true, false}) {
        int atShip = 0;
        for (int i = 0; i < 600; ++i) {
            Scratcher* hatched = spawn<Scratcher>(0.0f, 70.0f, false);
            const float ax = hatched->x + hatched->vx * 120, az = hatched->z + hatched->vz * 120;
            if (std::fabs(ax - 4) < 1e-3f && std::fabs(az - 10) < 1e-3f) {
                ++atShip;
            } else {
                EXPECT_TRUE(ax >= -12 - 1e-3f && ax <= 11.5f + 1e-3f && az >= 2 - 1e-3f && az <= 26 + 1e-3f);
            }
        }
        EXPECT_TRUE(shipThere ? atShip > 300 && atShip < 500 : atShip < 30) << atShip;
        ship->dead = 1; // removed: the cursor moves off it, onto the head
        spawn<Probe>(KindCube);
        sprites()->removeDead();
    }
}

} // namespace
