#include "GroundFixture.h"

#include "core/SpriteKind.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"

#include <cmath>

namespace {

using CubeTest = GroundTest;

TEST_F(CubeTest, StartsRestingAtTheFarEndDriftingWithTheFloor) {
    Cube* cube = spawn<Cube>(2, -7);
    EXPECT_EQ(cube->kind, KindCube);
    EXPECT_FLOAT_EQ(cube->x, -7);
    EXPECT_FLOAT_EQ(cube->y, 0.5f);
    EXPECT_FLOAT_EQ(cube->z, 70);
    EXPECT_FLOAT_EQ(cube->vz, -0.1f);
    EXPECT_TRUE(cube->isTarget);
    EXPECT_EQ(list.targetCount, 1);
    EXPECT_GE(cube->angle, 0);
    EXPECT_LT(cube->angle, 90);
    EXPECT_EQ(cube->spin, 0);
}

TEST_F(CubeTest, FrictionBringsAKnockedCubeBackToTheFloorDrift) {
    Cube* cube = spawn<Cube>(5, 0);
    Probe shot(&list, KindMyFire1, -1.0f, 0.5f, 70);
    cube->collide(&shot); // hit at the edge from the left: knocked right and spinning
    EXPECT_FLOAT_EQ(cube->vx, 0.5f);
    EXPECT_FLOAT_EQ(cube->spin, 10);
    EXPECT_FLOAT_EQ(cube->vz, 0);
    EXPECT_EQ(cube->hitPoints, 4);

    float lastSpin = cube->spin;
    for (int i = 0; i < 400; ++i) {
        cube->move();
        EXPECT_LE(std::fabs(cube->spin), std::fabs(lastSpin));
        lastSpin = cube->spin;
    }
    EXPECT_EQ(cube->vx, 0);
    EXPECT_EQ(cube->spin, 0);
    EXPECT_FLOAT_EQ(cube->vz, -0.1f);

    // From other speeds the drift may settle into a swing about -0.1: the steps of 0.08 are wider
    // than the dead band of 0.04 at one tick per frame.
    cube->vz = 0.25f;
    float sum = 0;
    for (int i = 0; i < 100; ++i) {
        cube->move();
        EXPECT_GE(cube->vz, -0.16f);
        EXPECT_LE(cube->vz, i < 10 ? 0.25f : -0.06f);
        sum += i >= 50 ? cube->vz : 0;
    }
    EXPECT_NEAR(sum / 50, -0.1f, 0.02f);
    EXPECT_FLOAT_EQ(cube->y, 0.5f);
    EXPECT_GT(cube->x, 1.0f);
    EXPECT_FALSE(cube->dead);
}

TEST_F(CubeTest, SpinFrictionIsPerFrameWhateverTheStep) {
    Cube* cube = spawn<Cube>(2, 0);
    cube->spin = 1.0f;
    engine->frameStep = 4.0f;
    const float angle = cube->angle;
    cube->move();
    EXPECT_FLOAT_EQ(cube->spin, 0.97f);
    EXPECT_FLOAT_EQ(cube->angle, angle + 0.97f * 4);
}

TEST_F(CubeTest, ADeadCentreHitPushesItStraightAway) {
    Cube* cube = spawn<Cube>(2, 3);
    Probe shot(&list, KindMyFire1, 3, 0.5f, 69);
    cube->collide(&shot);
    EXPECT_EQ(cube->vx, 0);
    EXPECT_EQ(cube->spin, 0);
    EXPECT_FLOAT_EQ(cube->vz, 0.5f);
}

struct HitCase {
    int otherKind;
    int hitPoints;
    int expectedHitPoints;
    bool destroyed;
    bool moved; // knocked or shoved
};

// What each kind does to a cube.
constexpr HitCase hitCases[] = {
    {KindMyShip, 2, 1, false, true},     {KindMyFire1, 2, 1, false, true},
    {KindMyFire1, 1, 0, true, false},    {KindMyFire2, 9, -3, true, false},
    {KindMyFire4, 4, 1, false, true},    {KindMyFire4, 2, -1, true, false},
    {KindCube, 2, 2, false, true},       {KindShip1, 2, 2, false, true},
    {KindSpirale, 2, 2, false, true},    {KindTank, 2, 2, false, true},
    {KindEffect, 2, 2, false, false},    {KindTache, 2, 2, false, false},
    {KindScratcher, 2, 2, false, false}, {KindFighterFire, 2, 2, false, false},
    {KindDiamond, 2, 2, false, false},
};

TEST_F(CubeTest, CollisionTable) {
    for (const HitCase& c : hitCases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.otherKind << " on " << c.hitPoints << " hit points");
        Cube* cube = spawn<Cube>(c.hitPoints, 0);
        Probe other(&list, c.otherKind, -0.4f, 0.5f, 69.6f);
        const int explosionsBefore = countOf<Explosion>();
        cube->collide(&other);
        EXPECT_EQ(cube->hitPoints, c.expectedHitPoints);
        EXPECT_EQ(cube->dead != 0, c.destroyed);
        EXPECT_EQ(other.points, c.destroyed ? 100 : 0);
        EXPECT_EQ(countOf<Explosion>() - explosionsBefore, c.destroyed ? 1 : 0);
        EXPECT_EQ(cube->vx != 0, c.moved);
        cube->dead = 1;
        list.removeDead();
    }
}

TEST_F(CubeTest, ShovesApartWithoutDamage) {
    Cube* a = spawn<Cube>(2, 0);
    Cube* b = spawn<Cube>(2, 0);
    b->x = 0.6f;
    b->z = 70.3f;
    a->collide(b);
    b->collide(a);
    EXPECT_FLOAT_EQ(a->vx, -0.6f / 3);
    EXPECT_FLOAT_EQ(b->vx, 0.6f / 3);
    EXPECT_FLOAT_EQ(a->spin, -7 * 0.6f);
    EXPECT_NEAR(a->vz, -0.3f / 3, 1e-5f);
    EXPECT_NEAR(b->vz, 0.3f / 3, 1e-5f);
    EXPECT_EQ(a->hitPoints, 2);
    EXPECT_EQ(b->hitPoints, 2);
}

TEST_F(CubeTest, TwoHitsInOneFrameScoreAndExplodeOnce) {
    Cube* cube = spawn<Cube>(1, 0);
    Probe first(&list, KindMyFire1, 0, 0.5f, 70);
    Probe second(&list, KindMyFire4, 0, 0.5f, 70);
    cube->collide(&first);
    cube->collide(&second);
    EXPECT_EQ(first.points, 100);
    EXPECT_EQ(second.points, 0);
    EXPECT_EQ(countOf<Explosion>(), 1);
}

TEST_F(CubeTest, OneCubeInFiveLeavesACapsuleWhereItDied) {
    int capsules = 0;
    for (int i = 0; i < 1000; ++i) {
        Cube* cube = spawn<Cube>(1, i % 21 - 10);
        cube->z = 30.0f + static_cast<float>(i % 7);
        Probe shot(&list, KindMyFire2);
        cube->collide(&shot);
        if (Diamond* capsule = lastOf<Diamond>()) {
            EXPECT_FLOAT_EQ(capsule->x, cube->x);
            EXPECT_FLOAT_EQ(capsule->z, cube->z);
            EXPECT_FLOAT_EQ(capsule->y, 0.1f);
            capsule->dead = 1;
            ++capsules;
        }
        cube->dead = 1;
        list.removeDead();
    }
    EXPECT_GT(capsules, 150);
    EXPECT_LT(capsules, 250);
}

TEST_F(CubeTest, KnockedOverTheEdgeItFallsAndGoes) {
    Cube* cube = spawn<Cube>(2, 12);
    cube->vx = 0.5f;
    int ticks = 0;
    while (!cube->dead && ticks < 1000) {
        cube->move();
        ++ticks;
    }
    ASSERT_TRUE(cube->dead);
    EXPECT_LT(cube->y, -35.0f);
    EXPECT_GT(cube->x, 12.1f);
    EXPECT_GT(cube->z, -3.0f);
    EXPECT_LT(ticks, 200);
}

TEST_F(CubeTest, OffTheFloorFrictionStops) {
    Cube* cube = spawn<Cube>(2, 13);
    cube->vx = 0.3f;
    cube->spin = 5;
    cube->move(); // still at rest height this frame: friction applies once, then it starts falling
    const float vx = cube->vx, spin = cube->spin;
    for (int i = 0; i < 10; ++i)
        cube->move();
    EXPECT_EQ(cube->vx, vx);
    EXPECT_EQ(cube->spin, spin);
    EXPECT_LT(cube->y, 0.5f);
}

TEST_F(CubeTest, GoesOncePastThePlayer) {
    Cube* cube = spawn<Cube>(2, 0);
    int ticks = 0;
    while (!cube->dead && ticks < 2000) {
        cube->move();
        ++ticks;
    }
    EXPECT_LT(cube->z, -3.0f);
    EXPECT_NEAR(ticks, 731, 2);
}

} // namespace
