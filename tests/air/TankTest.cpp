#include "AirFixture.h"

#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/Tank.h"

#include <cmath>
#include <numbers>
#include <set>

namespace {

using Tanks = AirTest;

Tank* addTank(ListSprite* list, int x = 0, int hitPoints = 7) {
    auto* t = new Tank(list, x, hitPoints);
    list->add(t);
    return t;
}

TEST_F(Tanks, LivingCountFollowsConstructionAndDestruction) {
    const int before = Tank::living();
    Tank* a = addTank(sprites);
    addTank(sprites, 3);
    EXPECT_EQ(Tank::living(), before + 2);
    a->dead = 1;
    sprites->removeDead();
    EXPECT_EQ(Tank::living(), before + 1);
    sprites->destroyAll();
    EXPECT_EQ(Tank::living(), before);
}

TEST_F(Tanks, StartAtTheFarEnd) {
    Tank* t = addTank(sprites, -4, 9);
    EXPECT_FLOAT_EQ(t->x, -4);
    EXPECT_FLOAT_EQ(t->y, 0.5f);
    EXPECT_FLOAT_EQ(t->z, 70);
    EXPECT_FLOAT_EQ(t->turretAngle, -90);
    EXPECT_EQ(t->state, Tank::Advance);
    EXPECT_EQ(t->hitPoints, 9);
    EXPECT_EQ(t->target, nullptr);
    EXPECT_FLOAT_EQ(t->sizeX, 1.2f);
}

// Aim angles: the barrel points along (−cos θ, sin θ); straight ahead of the player is −90.
TEST_F(Tanks, AcquireAimsAtTheShip) {
    struct Aim {
        float sx, sz; // ship relative to the tank
        float angle;
    };
    constexpr Aim aims[] = {
        {0, -10, -90}, {0, 0, -90},   {0, 5, 90},    {-5, 0, 0},
        {5, 0, 180},   {-5, -5, -45}, {5, -5, -135}, {5, 5, 135},
    };
    addShip();
    for (const Aim& a : aims) {
        SCOPED_TRACE(testing::Message() << a.sx << ", " << a.sz);
        Tank* t = addTank(sprites, 2);
        t->z = 20;
        ship->x = t->x + a.sx;
        ship->z = t->z + a.sz;
        t->state = Tank::Acquire;
        t->move();
        EXPECT_EQ(t->state, Tank::TurnTurret);
        EXPECT_NEAR(t->targetAngle, a.angle, 1e-3f);
        EXPECT_EQ(t->target, nullptr); // nothing kept that could outlive the ship
        sprites->destroyAll();
    }
}

TEST_F(Tanks, WithoutAShipAcquiringGivesUp) {
    Tank* t = addTank(sprites);
    t->state = Tank::Acquire;
    t->move();
    EXPECT_EQ(t->state, Tank::Advance);
}

// A turret at 170 aiming at −170 turns the short way through 180 and wraps.
TEST_F(Tanks, TurretTurnsTheShortWayAndWraps) {
    struct Turn {
        float from, to;
        float step;
        int frames; // frames of turning before the aim starts
    };
    constexpr Turn turns[] = {
        {170, -170, 1, 5}, {-170, 170, 1, 5}, {-90, 0, 1, 25}, {0, -90, 2, 13}, {-90, -89, 1, 0},
    };
    addShip();
    for (const Turn& tc : turns) {
        SCOPED_TRACE(testing::Message() << tc.from << " -> " << tc.to);
        engine->frameStep = tc.step;
        Tank* t = addTank(sprites, 0);
        t->z = 30;
        const float a = tc.to * std::numbers::pi_v<float> / 180.0f;
        ship->x = t->x - 10.0f * std::cos(a);
        ship->z = t->z + 10.0f * std::sin(a);
        t->turretAngle = tc.from;
        t->state = Tank::Acquire;
        t->move();
        ASSERT_NEAR(t->targetAngle, tc.to, 1e-3f);
        int frames = 0;
        float previous = t->turretAngle;
        while (t->state == Tank::TurnTurret) {
            t->move();
            if (t->state == Tank::TurnTurret) {
                ++frames;
                float moved = t->turretAngle - previous;
                if (moved > 180)
                    moved -= 360;
                if (moved < -180)
                    moved += 360;
                EXPECT_NEAR(std::fabs(moved), 3.5f * tc.step, 1e-3f);
            }
            EXPECT_LE(t->turretAngle, 180.0f);
            EXPECT_GE(t->turretAngle, -180.0f);
            previous = t->turretAngle;
            ASSERT_LT(frames, 200);
        }
        EXPECT_EQ(t->state, Tank::Aim);
        EXPECT_EQ(frames, tc.frames);
        sprites->destroyAll();
    }
}

// Firing: after 10 ticks of aim the turret snaps on target, the tank recoils one shot step (never beyond
// x = ±11) and a shell leaves six steps ahead.
TEST_F(Tanks, FiringRecoilsWithinTheField) {
    struct Shot {
        float x;
        float angle;
        float xAfter;
    };
    constexpr Shot shots[] = {
        {0, -90, 0}, {10.95f, 0, 11}, {-10.95f, 180, -11}, {5, 0, 5.2f}, {-5, 180, -5.2f},
    };
    for (const Shot& s : shots) {
        SCOPED_TRACE(testing::Message() << s.x << " at " << s.angle);
        Tank* t = addTank(sprites);
        t->x = s.x;
        t->z = 30;
        t->state = Tank::Aim;
        t->aimTimer = 0;
        t->targetAngle = s.angle;
        t->turretAngle = s.angle + 1;
        engine->frameStep = 5;
        t->move();
        t->move();
        EXPECT_EQ(t->state, Tank::Aim);
        t->move();
        EXPECT_EQ(t->state, Tank::Reverse);
        EXPECT_FLOAT_EQ(t->turretAngle, s.angle);
        EXPECT_NEAR(t->x, s.xAfter, 1e-4f);
        TankFire* shell = firstOf<TankFire>();
        ASSERT_NE(shell, nullptr);
        const float a = s.angle * std::numbers::pi_v<float> / 180.0f;
        EXPECT_NEAR(shell->vx, 1.2f * -std::cos(a) / 5, 1e-5f);
        EXPECT_NEAR(shell->vz, 1.2f * std::sin(a) / 5, 1e-5f);
        EXPECT_FLOAT_EQ(shell->y, 0.7f);
        EXPECT_FLOAT_EQ(shell->heading, s.angle);
        sprites->destroyAll();
    }
}

// A tank's whole life with a ship about: it rolls in, stops short of the player, shuffles, aims and fires,
// and never leaves.
TEST_F(Tanks, ShuffleAimAndFireForever) {
    addShip(2, 5);
    std::srand(3);
    Tank* t = addTank(sprites, -6);
    std::set<int> states;
    int shells = 0;
    float nearest = 100, farthest = 0;
    for (int f = 0; f < 20000; ++f) {
        const int before = t->state;
        sprites->moveAll();
        states.insert(t->state);
        shells += before == Tank::Aim && t->state == Tank::Reverse;
        sprites->removeDead();
        ASSERT_FALSE(t->dead);
        ASSERT_LE(std::fabs(t->x), 11.0f + 1e-4f);
        EXPECT_LE(t->trackScrollLeft, 1.0f);
        EXPECT_GE(t->trackScrollLeft, -1.0f);
        if (f > 1000) {
            nearest = std::fmin(nearest, t->z);
            farthest = std::fmax(farthest, t->z);
        }
    }
    EXPECT_EQ(states,
              (std::set<int>{Tank::Advance, Tank::Reverse, Tank::TurnTurret, Tank::Aim, Tank::Acquire}));
    EXPECT_GE(shells, 5); // about one aim per 1500 ticks: it mostly shuffles
    EXPECT_GT(nearest, 2.0f);
    EXPECT_LT(farthest, 67.0f);
}

// Paused frames (step 0) must not lock the turret: a tank hit while paused still fires once play resumes.
TEST_F(Tanks, HitWhilePausedStillFiresLater) {
    addShip(4, 5);
    Tank* t = addTank(sprites, -3);
    t->z = 20;
    Probe shot(sprites, KindMyFire1);
    engine->frameStep = 0;
    t->collide(&shot);
    EXPECT_EQ(t->state, Tank::Acquire);
    for (int i = 0; i < 10; ++i)
        t->move();
    engine->frameStep = 1;
    for (int i = 0; i < 200 && !firstOf<TankFire>(); ++i)
        t->move();
    EXPECT_NE(firstOf<TankFire>(), nullptr);
}

struct Hit {
    int kind;
    int hits;
    int hitPointsAfter;
    bool destroyed;
};
constexpr Hit TankHits[] = {
    {KindMyShip, 1, 6, false},  {KindMyFire1, 3, 4, false}, {KindSpirale, 1, 6, false},
    {KindMyFire2, 1, -3, true}, {KindMyFire4, 1, 4, false}, {KindMyFire4, 3, -2, true},
    {KindMyFire1, 7, 0, true},  {KindCube, 3, 7, false},    {KindFighter, 3, 7, false},
};

TEST_F(Tanks, CollisionTable) {
    for (const Hit& h : TankHits) {
        SCOPED_TRACE(testing::Message() << "kind " << h.kind << " x" << h.hits);
        Tank* t = addTank(sprites);
        Probe other(sprites, h.kind);
        for (int i = 0; i < h.hits; ++i)
            t->collide(&other);
        EXPECT_EQ(t->hitPoints, h.hitPointsAfter);
        EXPECT_EQ(t->dead != 0, h.destroyed);
        EXPECT_EQ(countOf<Explosion>(), h.destroyed ? 1 : 0);
        EXPECT_EQ(other.points, h.destroyed ? std::vector<int>{400} : std::vector<int>{});
        const bool damaged = h.hitPointsAfter != 7;
        if (!h.destroyed) {
            EXPECT_EQ(t->state, damaged ? Tank::Acquire : Tank::Advance);
        }
        if (h.destroyed) { // hit again once dead: no second explosion, no more points
            t->collide(&other);
            EXPECT_EQ(countOf<Explosion>(), 1);
            EXPECT_EQ(other.points.size(), 1u);
        }
        sprites->destroyAll();
    }
}

// A survived hit while aiming does not restart the aim.
TEST_F(Tanks, HitWhileAimingKeepsAiming) {
    Tank* t = addTank(sprites);
    Probe shot(sprites, KindMyFire1);
    t->state = Tank::Aim;
    t->aimTimer = 6;
    t->collide(&shot);
    EXPECT_EQ(t->state, Tank::Aim);
    EXPECT_FLOAT_EQ(t->aimTimer, 6);
    t->state = Tank::TurnTurret;
    t->collide(&shot);
    EXPECT_EQ(t->state, Tank::Acquire);
}

TEST_F(Tanks, TanksShoveEachOther) {
    Tank* a = addTank(sprites, 0);
    Tank* b = addTank(sprites, 0);
    a->x = 0.6f;
    a->z = 30.3f;
    b->z = 30;
    const float ax = a->x, az = a->z, bx = b->x, bz = b->z;
    a->collide(b);
    b->collide(a);
    EXPECT_FLOAT_EQ(a->x, ax + 0.5f * 0.6f / 1.2f);
    EXPECT_FLOAT_EQ(a->z, az + 0.5f * (az - bz) / 1.2f);
    EXPECT_LT(b->x, bx);
    EXPECT_LT(b->z, bz);
    EXPECT_EQ(a->hitPoints, 7);
}

TEST_F(Tanks, ShellsLeaveTheBand) {
    struct Flight {
        float x, z, dx, dz;
        int frames; // moves until removed at step 1
    };
    constexpr Flight flights[] = {
        {0, 1, 0, -0.2f, 5},
        {0, 69, 0, 0.2f, 5},
        {11, 30, 0.2f, 0, 4},
        {-11, 30, -0.2f, 0, 4},
    };
    for (const Flight& f : flights) {
        auto* shell = new TankFire(sprites, nullptr, f.x, 0.7f, f.z, f.dx, f.dz, 0);
        sprites->add(shell);
        int frames = 0;
        while (!shell->dead && frames < 100) {
            shell->move();
            ++frames;
        }
        EXPECT_EQ(frames, f.frames);
        sprites->destroyAll();
    }
    const std::set<int> hits = {KindMyShip, KindMyFire1, KindMyFire2};
    for (int kind = 1; kind <= 22; ++kind) {
        SCOPED_TRACE(kind);
        auto* shell = new TankFire(sprites, nullptr, 0, 0.7f, 10, 0, -0.2f, -90);
        sprites->add(shell);
        Probe other(sprites, kind);
        shell->collide(&other);
        EXPECT_EQ(shell->dead != 0, hits.count(kind) == 1);
        sprites->destroyAll();
    }
}

} // namespace
