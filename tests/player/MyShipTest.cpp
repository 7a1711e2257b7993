#include "PlayerTestSupport.h"

#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/ExplosionMark.h"
#include "enemies/PieceOfShip.h"
#include "enemies/SpecialEffect1.h"
#include "player/ForceFeedback.h"

#include <vector>

namespace {

struct FakeStick {
    static inline int axes[2] = {0, 0};
    static inline int buttons[2] = {0, 0};
    static inline int buttonReads = 0;
    static bool present() { return true; }
    static void update() {}
    static int axis(int i) { return axes[i]; }
    static int button(int i) {
        buttonReads++;
        return buttons[i];
    }
    static void reset() {
        axes[0] = axes[1] = 0;
        buttons[0] = buttons[1] = 0;
        buttonReads = 0;
    }
};
const MyShip::JoystickApi fakeStick = {FakeStick::present, FakeStick::update, FakeStick::axis,
                                       FakeStick::button};

using ShipTest = PlayerTest;

struct KeyCase {
    int key;
    int up, down, left, right, fire, bomb;
};

TEST_F(ShipTest, EachKeySetsItsControlFlag) {
    const KeyCase cases[] = {
        {273, 1, 0, 0, 0, 0, 0}, {274, 0, 1, 0, 0, 0, 0}, {276, 0, 0, 1, 0, 0, 0}, {275, 0, 0, 0, 1, 0, 0},
        {'w', 0, 0, 0, 0, 1, 0}, {'z', 0, 0, 0, 0, 1, 0}, {308, 0, 0, 0, 0, 1, 0}, {306, 0, 0, 0, 0, 1, 0},
        {'x', 0, 0, 0, 0, 0, 1}, {' ', 0, 0, 0, 0, 0, 1}, {'a', 0, 0, 0, 0, 0, 0}, {307, 0, 0, 0, 0, 0, 0},
    };
    for (const KeyCase& c : cases) {
        sdlq::releaseAllKeys();
        hold(c.key);
        MyShip::readControls();
        EXPECT_EQ(MyShip::up, c.up) << c.key;
        EXPECT_EQ(MyShip::down, c.down) << c.key;
        EXPECT_EQ(MyShip::left, c.left) << c.key;
        EXPECT_EQ(MyShip::right, c.right) << c.key;
        EXPECT_EQ(MyShip::fire, c.fire) << c.key;
        EXPECT_EQ(MyShip::bomb, c.bomb) << c.key;
    }
}

TEST_F(ShipTest, JoystickAxesHaveADeadZone) {
    MyShip::setJoystickApi(&fakeStick);
    struct AxisCase {
        int axis, value;
        int up, down, left, right;
    };
    const AxisCase cases[] = {
        {0, -16384, 0, 0, 0, 0}, {0, -16385, 0, 0, 1, 0}, {0, 16384, 0, 0, 0, 0}, {0, 16385, 0, 0, 0, 1},
        {1, -16384, 0, 0, 0, 0}, {1, -16385, 1, 0, 0, 0}, {1, 16384, 0, 0, 0, 0}, {1, 32767, 0, 1, 0, 0},
    };
    for (const AxisCase& c : cases) {
        FakeStick::reset();
        FakeStick::axes[c.axis] = c.value;
        MyShip::readControls();
        EXPECT_EQ(MyShip::up, c.up) << c.axis << " " << c.value;
        EXPECT_EQ(MyShip::down, c.down) << c.axis << " " << c.value;
        EXPECT_EQ(MyShip::left, c.left) << c.axis << " " << c.value;
        EXPECT_EQ(MyShip::right, c.right) << c.axis << " " << c.value;
    }
    MyShip::setJoystickApi(nullptr);
}

TEST_F(ShipTest, JoystickButtonsAreReadOnlyWhenTheKeyIsNotHeld) {
    MyShip::setJoystickApi(&fakeStick);
    FakeStick::reset();
    FakeStick::buttons[0] = 1;
    FakeStick::buttons[1] = 1;
    MyShip::readControls();
    EXPECT_EQ(MyShip::fire, 1);
    EXPECT_EQ(MyShip::bomb, 1);
    EXPECT_EQ(FakeStick::buttonReads, 2);

    FakeStick::reset();
    hold('w');
    hold(' ');
    MyShip::readControls();
    EXPECT_EQ(FakeStick::buttonReads, 0);
    EXPECT_EQ(MyShip::fire, 1);
    MyShip::setJoystickApi(nullptr);
}

TEST_F(ShipTest, AcceleratesToAboutPointFourThenGlidesToAStop) {
    MyShip* ship = flyingShip();
    hold(276);
    ship->move();
    EXPECT_FLOAT_EQ(ship->vx, 0.01f);
    for (int i = 0; i < 100; ++i) {
        ship->x = 0;
        ship->move();
    }
    EXPECT_GE(ship->vx, 0.4f);
    EXPECT_LT(ship->vx, 0.41f);

    hold(276, false);
    ship->x = 0;
    const float before = ship->vx;
    ship->move();
    EXPECT_NEAR(ship->vx, before - 0.02f, 1e-6);
    for (int i = 0; i < 30; ++i) {
        ship->x = 0;
        ship->move();
    }
    EXPECT_EQ(ship->vx, 0.0f);
}

TEST_F(ShipTest, LeftAndRightTogetherNeitherAccelerateNorBrake) {
    MyShip* ship = flyingShip();
    ship->vx = 0.3f;
    hold(276);
    hold(275);
    ship->move();
    EXPECT_FLOAT_EQ(ship->vx, 0.3f);
    EXPECT_FLOAT_EQ(ship->accelX, 0.0f);
}

TEST_F(ShipTest, UpAndDownDriveDepth) {
    MyShip* ship = flyingShip();
    hold(273);
    ship->move();
    EXPECT_FLOAT_EQ(ship->vz, 0.01f);
    sdlq::releaseAllKeys();
    hold(274);
    for (int i = 0; i < 5; ++i)
        ship->move();
    EXPECT_LT(ship->vz, 0.0f);
}

TEST_F(ShipTest, StaysInsideTheFieldWhileItsSpeedShrinks) {
    MyShip* ship = flyingShip();
    ship->x = -11.75f;
    ship->vx = -0.3f;
    float previous = ship->vx;
    for (int i = 0; i < 12; ++i) {
        ship->move();
        EXPECT_FLOAT_EQ(ship->x, -11.75f);
        if (previous < 0) {
            EXPECT_GT(ship->vx, previous);
        }
        EXPECT_LE(ship->vx, 0.0f);
        previous = ship->vx;
    }
    EXPECT_EQ(ship->vx, 0.0f);

    ship->x = 11.7f;
    ship->vx = 0.3f;
    ship->move();
    EXPECT_FLOAT_EQ(ship->x, 11.75f);
    EXPECT_NEAR(ship->vx, 0.3f - 0.02f - 0.02f, 1e-6);

    ship->z = 41.9f;
    ship->vz = 0.3f;
    ship->move();
    EXPECT_FLOAT_EQ(ship->z, 42.0f);
    EXPECT_NEAR(ship->vz, 0.3f - 0.02f - 0.05f, 1e-6);

    ship->z = 2.6f;
    ship->vz = -0.3f;
    ship->move();
    EXPECT_FLOAT_EQ(ship->z, 2.5f);
    EXPECT_NEAR(ship->vz, -0.3f + 0.02f + 0.05f, 1e-6);
}

TEST_F(ShipTest, ArrivesWithoutSteeringThenFlies) {
    auto* ship = new MyShip(&list, 100);
    list.add(ship);
    EXPECT_EQ(ship->shipState, MyShip::Arriving);
    EXPECT_FLOAT_EQ(ship->z, -3.0f);
    hold(276);
    hold('w');
    int updates = 0;
    while (ship->shipState == MyShip::Arriving && updates < 1000) {
        ship->move();
        updates++;
    }
    EXPECT_EQ(updates, 56);
    EXPECT_EQ(ship->shipState, MyShip::Flying);
    EXPECT_FLOAT_EQ(ship->x, 0.0f);
    EXPECT_EQ(ship->shotCount, 0);
}

TEST_F(ShipTest, SpinsInPlaceThenFliesAgain) {
    MyShip* ship = flyingShip();
    ship->shipState = MyShip::Spinning;
    ship->vx = 0.2f;
    ship->vz = 0.2f;
    hold(276);
    for (int i = 0; i < 24; ++i) {
        ship->move();
        EXPECT_EQ(ship->shipState, MyShip::Spinning);
        EXPECT_FLOAT_EQ(ship->x, 0.0f);
        EXPECT_FLOAT_EQ(ship->z, 10.0f);
    }
    EXPECT_NEAR(ship->vx, 0.2f / std::pow(1.1f, 24), 1e-5);
    ship->move();
    EXPECT_EQ(ship->shipState, MyShip::Flying);
    EXPECT_EQ(ship->vx, 0.0f);
    EXPECT_EQ(ship->vz, 0.0f);
}

TEST_F(ShipTest, EscapeKillsTheShipAfterJustOverAHundredTicks) {
    MyShip* ship = flyingShip();
    ship->energy = -1;
    int updates = 0;
    while (!ship->dead && updates < 1000) {
        ship->move();
        updates++;
        if (!ship->dead) {
            EXPECT_EQ(ship->shipState, MyShip::Dying);
            EXPECT_FLOAT_EQ(ship->spinAngle, 5.0f * updates);
            EXPECT_FLOAT_EQ(ship->z, 10.0f);
        }
    }
    EXPECT_EQ(updates, 101);
    EXPECT_EQ(ship->energy, 0);
    // The frame clears the Engine's pointer before the ship is deleted.
    list.collideAll();
    if (engine->ship && engine->ship->dead)
        engine->ship = nullptr;
    list.removeDead();
    EXPECT_EQ(engine->ship, nullptr);
    // The ship is gone, the big explosion with its mark and debris stays.
    EXPECT_EQ(countOf<MyShip>(list), 0);
    ASSERT_EQ(countOf<Explosion>(list), 1);
    EXPECT_EQ(firstOf<Explosion>(list)->size, 20);
    EXPECT_EQ(firstOf<Explosion>(list)->sourceKind, KindMyShip);
    EXPECT_EQ(countOf<ExplosionMark>(list), 1);
    ASSERT_EQ(countOf<PieceOfShip>(list), 1);
    EXPECT_EQ(firstOf<PieceOfShip>(list)->count, 100);
}

TEST_F(ShipTest, InvulnerableForFifteenSecondsFromCreation) {
    fakeTicks = 5000;
    auto* ship = new MyShip(&list, 100);
    list.add(ship);
    EXPECT_NE(ship->invulnerable, 0);
    EXPECT_EQ(ship->invulnerableUntil, 20000u);
    fakeTicks = 20000;
    ship->move();
    EXPECT_NE(ship->invulnerable, 0);
    fakeTicks = 20001;
    ship->move();
    EXPECT_EQ(ship->invulnerable, 0);
}

TEST_F(ShipTest, AShipMadeAtTickZeroIsStillInvulnerable) {
    fakeTicks = 0;
    auto* ship = new MyShip(&list, 100);
    list.add(ship);
    EXPECT_NE(ship->invulnerable, 0);
}

struct CollisionCase {
    int kind;
    bool invulnerable;
    int energyAfter;
    int state;
    int explosions;
    bool bounces;
};

TEST_F(ShipTest, CollisionReactionsByKind) {
    const CollisionCase cases[] = {
        {KindCube, false, 90, MyShip::Flying, 1, true},
        {KindShip1, false, 90, MyShip::Flying, 1, true},
        {KindSpirale, false, 90, MyShip::Flying, 1, true},
        {KindTank, false, 90, MyShip::Flying, 1, true},
        {KindFighter, false, 90, MyShip::Flying, 1, true},
        {KindShip1Fire, false, 95, MyShip::Spinning, 1, false},
        {KindFighterFire, false, 95, MyShip::Spinning, 1, false},
        {KindTankFire, false, 90, MyShip::Spinning, 1, false},
        {KindScratcher, false, 85, MyShip::Flying, 0, false},
        {KindPoto, false, 100, MyShip::Flying, 0, true},
        {KindCube, true, 100, MyShip::Flying, 0, true},
        {KindFighter, true, 100, MyShip::Flying, 0, true},
        {KindFighterFire, true, 100, MyShip::Flying, 0, false},
        {KindTankFire, true, 100, MyShip::Flying, 0, false},
        {KindScratcher, true, 100, MyShip::Flying, 0, false},
        {KindEffect, false, 100, MyShip::Flying, 0, false},
        {KindMyFire1, false, 100, MyShip::Flying, 0, false},
        {KindMyFire2, false, 100, MyShip::Flying, 0, false},
        {KindPiege, false, 100, MyShip::Flying, 0, false},
        {KindTache, false, 100, MyShip::Flying, 0, false},
        {KindMyFire4Smoke, false, 100, MyShip::Flying, 0, false},
    };
    for (const CollisionCase& c : cases) {
        list.destroyAll();
        MyShip* ship = flyingShip(!c.invulnerable);
        ship->x = 1.0f;
        auto* other = new Probe(&list, c.kind, 0.0f, 0.5f, 10.5f);
        list.add(other);
        ship->collide(other);
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(ship->energy, c.energyAfter);
        EXPECT_EQ(ship->shipState, c.state);
        EXPECT_EQ(countOf<Explosion>(list), c.explosions);
        if (c.bounces) {
            // Pushed away from the other's centre: (1 / 1.35) / 5 across, (−0.5 / 0.75) / 5 in depth.
            EXPECT_NEAR(ship->vx, (1.0f / 1.35f) / 5, 1e-6);
            EXPECT_NEAR(ship->vz, (-0.5f / 0.75f) / 5, 1e-6);
        } else {
            EXPECT_EQ(ship->vx, 0.0f);
            EXPECT_EQ(ship->vz, 0.0f);
        }
        EXPECT_EQ(other->dead, 0);
    }
}

TEST_F(ShipTest, NoDamageWhileSpinningOrDying) {
    MyShip* ship = flyingShip();
    auto* shot = new Probe(&list, KindFighterFire, 0, 0.5f, 10);
    list.add(shot);
    ship->collide(shot);
    EXPECT_EQ(ship->energy, 95);
    ship->collide(shot);
    EXPECT_EQ(ship->energy, 95);
    ship->shipState = MyShip::Dying;
    auto* cube = new Probe(&list, KindCube, 0, 0.5f, 10);
    list.add(cube);
    ship->collide(cube);
    EXPECT_EQ(ship->energy, 95);
}

TEST_F(ShipTest, AKillingBlowMakesNoSmallExplosion) {
    MyShip* ship = flyingShip();
    ship->energy = 10;
    auto* cube = new Probe(&list, KindCube, 0, 0.5f, 10);
    list.add(cube);
    ship->collide(cube);
    EXPECT_EQ(ship->energy, 0);
    EXPECT_EQ(countOf<Explosion>(list), 0);
    ship->move();
    EXPECT_EQ(ship->shipState, MyShip::Flying); // energy 0 does not kill
    ship->energy = 5;
    auto* shot = new Probe(&list, KindShip1Fire, 0, 0.5f, 10);
    list.add(shot);
    ship->collide(shot);
    EXPECT_EQ(ship->energy, 0);
    EXPECT_EQ(countOf<Explosion>(list), 1); // energy ≥ 0 for a shot
}

TEST_F(ShipTest, CollideAllDamagesTheShipOnce) {
    MyShip* ship = flyingShip();
    list.add(new Probe(&list, KindFighter, 0.5f, 0.5f, 10.2f));
    list.collideAll();
    EXPECT_EQ(ship->energy, 90);
}

struct CapsuleCase {
    int type;
    int energyBefore;
    int energyAfter, bombs, weaponLevel;
};

TEST_F(ShipTest, CapsulesByType) {
    const CapsuleCase cases[] = {
        {0, 100, 100, 5, 0}, {0, 50, 66, 5, 0}, {0, 90, 100, 5, 0}, {1, 100, 100, 6, 0}, {2, 100, 100, 5, 1},
    };
    for (const CapsuleCase& c : cases) {
        list.destroyAll();
        MyShip* ship = flyingShip();
        ship->energy = c.energyBefore;
        auto* capsule = new Probe(&list, KindDiamond, 0, 0.5f, 10);
        capsule->capsuleType = c.type;
        list.add(capsule);
        ship->collide(capsule);
        SCOPED_TRACE(c.type);
        EXPECT_EQ(ship->energy, c.energyAfter);
        EXPECT_EQ(ship->bombs, c.bombs);
        EXPECT_EQ(ship->weaponLevel, c.weaponLevel);
        ASSERT_EQ(countOf<SpecialEffect1>(list), 1);
        EXPECT_EQ(firstOf<SpecialEffect1>(list)->capsuleType, c.type);
        EXPECT_EQ(firstOf<SpecialEffect1>(list)->host, ship);
        EXPECT_EQ(capsule->dead, 0);
    }
}

TEST_F(ShipTest, InvulnerabilityCapsulesAddTwentySecondsEach) {
    fakeTicks = 1000;
    MyShip* ship = flyingShip();
    auto* capsule = new Probe(&list, KindDiamond, 0, 0.5f, 10);
    capsule->capsuleType = 3;
    list.add(capsule);
    fakeTicks = 3000;
    ship->collide(capsule);
    EXPECT_NE(ship->invulnerable, 0);
    EXPECT_EQ(ship->invulnerableUntil, 23000u);
    ship->collide(capsule);
    EXPECT_EQ(ship->invulnerableUntil, 43000u);
    auto* cube = new Probe(&list, KindCube, 0, 0.5f, 10);
    list.add(cube);
    ship->collide(cube);
    EXPECT_EQ(ship->energy, 100);
}

TEST_F(ShipTest, ProjectilePointsGoToTheShip) {
    MyShip* ship = flyingShip();
    hold('w');
    fakeTicks = 1000;
    ship->move();
    Sprite* bolt = nullptr;
    for (Elem* e = list.head; e; e = e->next)
        if (static_cast<Sprite*>(e)->kind == KindMyFire1)
            bolt = static_cast<Sprite*>(e);
    ASSERT_NE(bolt, nullptr);
    bolt->addScore(100);
    EXPECT_EQ(ship->score, 100);
    engine->ship = nullptr;
    bolt->addScore(100);
    EXPECT_EQ(ship->score, 100);
}

} // namespace
