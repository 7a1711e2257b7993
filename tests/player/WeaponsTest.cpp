#include "PlayerTestSupport.h"

#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "player/MyFire1.h"
#include "player/MyFire2.h"
#include "player/MyFire3.h"
#include "player/MyFire4.h"
#include "player/MyFire4Smoke.h"

#include <cmath>
#include <vector>

namespace {

using WeaponsTest = PlayerTest;

int backwardBolts(ListSprite& list) {
    int n = 0;
    for (Elem* e = list.head; e; e = e->next)
        if (auto* bolt = dynamic_cast<MyFire1*>(static_cast<Sprite*>(e)))
            if (bolt->vz < 0)
                n++;
    return n;
}

TEST_F(WeaponsTest, HeldFireIsRapidForEightHundredFiftyMillisecondsThenSlower) {
    MyShip* ship = flyingShip();
    fakeTicks = 1000;
    ship->move(); // fire not held: the hold starts here
    hold('w');
    std::vector<Uint32> salvos;
    for (fakeTicks = 1001; fakeTicks <= 3000; ++fakeTicks) {
        const int before = ship->shotCount;
        ship->x = 0;
        ship->z = 10;
        ship->move();
        if (ship->shotCount != before)
            salvos.push_back(fakeTicks);
        list.removeDead();
    }
    const std::vector<Uint32> expected = {1001, 1122, 1243, 1364, 1485, 1606, 1727, 1848, 2219, 2590, 2961};
    EXPECT_EQ(salvos, expected);

    // Let go and press again: the new press fires at once.
    hold('w', false);
    fakeTicks = 3001;
    ship->move();
    hold('w');
    fakeTicks = 3002;
    const int before = ship->shotCount;
    ship->move();
    EXPECT_EQ(ship->shotCount, before + 1);
}

struct SalvoTotals {
    int level;
    int bolts, backward, homing, ground;
};

TEST_F(WeaponsTest, SalvoCompositionByWeaponLevelOverEightSalvos) {
    const SalvoTotals cases[] = {
        {0, 8, 0, 0, 0},   {1, 24, 0, 0, 0},  {2, 24, 0, 2, 0},  {3, 40, 16, 2, 0},
        {4, 40, 16, 2, 8}, {5, 40, 16, 4, 8}, {6, 56, 16, 4, 8}, {7, 56, 16, 8, 8},
    };
    for (const SalvoTotals& c : cases) {
        list.destroyAll();
        MyShip::lastShotTime = 0;
        MyShip* ship = flyingShip();
        ship->weaponLevel = c.level;
        hold('w');
        for (int salvo = 0; salvo < 8; ++salvo) {
            fakeTicks = 1000 + 1000 * salvo;
            ship->x = 0;
            ship->z = 10;
            ship->move();
        }
        SCOPED_TRACE(c.level);
        EXPECT_EQ(ship->shotCount, 8);
        EXPECT_EQ(countOf<MyFire1>(list), c.bolts);
        EXPECT_EQ(backwardBolts(list), c.backward);
        EXPECT_EQ(countOf<MyFire3>(list), c.homing);
        EXPECT_EQ(countOf<MyFire4>(list), c.ground);
        EXPECT_EQ(countOf<MyFire4Smoke>(list), c.ground);
    }
}

TEST_F(WeaponsTest, AtLevelSevenEveryEvenSalvoAddsBothMissilePairs) {
    MyShip* ship = flyingShip();
    ship->weaponLevel = 7;
    hold('w');
    for (int salvo = 1; salvo <= 8; ++salvo) {
        const int bolts = countOf<MyFire1>(list), homing = countOf<MyFire3>(list),
                  ground = countOf<MyFire4>(list);
        fakeTicks = 1000 * salvo;
        ship->move();
        SCOPED_TRACE(salvo);
        EXPECT_EQ(countOf<MyFire1>(list) - bolts, 7);
        EXPECT_EQ(countOf<MyFire3>(list) - homing, salvo % 2 == 0 ? 2 : 0);
        EXPECT_EQ(countOf<MyFire4>(list) - ground, salvo % 2 == 0 ? 2 : 0);
    }
}

TEST_F(WeaponsTest, ProjectilesStartWhereTheShipIs) {
    MyShip* ship = flyingShip();
    ship->x = 2;
    MyFire1 main(ship);
    EXPECT_FLOAT_EQ(main.z, 10.8f);
    EXPECT_FLOAT_EQ(main.vz, 1.2f);
    EXPECT_FLOAT_EQ(main.sizeZ, 0.5f);
    MyFire1 side(ship, -0.08f, -0.7f);
    EXPECT_FLOAT_EQ(side.x, 2 - 0.4f);
    EXPECT_FLOAT_EQ(side.vz, -0.7f);
    EXPECT_FLOAT_EQ(side.sizeZ, 0.2f);
    MyFire4 ground(ship, 0.007f, 0.5f);
    EXPECT_FLOAT_EQ(ground.y, 0.5f - 0.35f);
    EXPECT_FLOAT_EQ(ground.sizeZ, 0.6f);
    MyFire2 bomb(ship);
    EXPECT_FLOAT_EQ(bomb.z, 10.5f);
    EXPECT_EQ(bomb.kind, KindMyFire2);
    // The ground missile's trail went into the list; take it out again with its missile gone.
    MyFire4Smoke* smoke = firstOf<MyFire4Smoke>(list);
    ASSERT_NE(smoke, nullptr);
    EXPECT_EQ(smoke->parent, &ground);
    smoke->dead = 1;
    list.removeDead();
    EXPECT_EQ(ground.watcherCount, 0);
}

TEST_F(WeaponsTest, BoltsStopOnTheirKindsAndLeaveASmallExplosion) {
    struct StopCase {
        int kind;
        bool bolt, homing, ground;
    };
    const StopCase cases[] = {
        {KindCube, true, true, true},           {KindShip1, true, true, false},
        {KindShip1Fire, true, true, false},     {KindPoto, true, true, true},
        {KindTank, true, true, true},           {KindTankFire, true, true, false},
        {KindScratcher, true, true, true},      {KindFighter, true, true, false},
        {KindDiamond, true, false, false},      {KindTache, false, false, true},
        {KindFighterFire, false, false, false}, {KindEffect, false, false, false},
        {KindMyShip, false, false, false},      {KindPiege, false, false, false},
    };
    MyShip* ship = flyingShip();
    for (const StopCase& c : cases) {
        Probe other(&list, c.kind, 0, 0, 0);
        MyFire1 bolt(ship);
        MyFire3 homing(ship, 0.5f);
        MyFire4 ground(ship, 0, 0.5f);
        bolt.collide(&other);
        homing.collide(&other);
        ground.collide(&other);
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(bolt.dead != 0, c.bolt);
        EXPECT_EQ(homing.dead != 0, c.homing);
        EXPECT_EQ(ground.dead != 0, c.ground);
        EXPECT_EQ(countOf<Explosion>(list), int(c.bolt) + int(c.homing) + int(c.ground));
        for (Elem* e = list.head; e; e = e->next) {
            if (auto* ex = dynamic_cast<Explosion*>(static_cast<Sprite*>(e))) {
                EXPECT_EQ(ex->size, 1);
            }
        }
        // Remove what the three made (trail included) but keep the ship.
        for (Elem* e = list.head; e; e = e->next)
            if (static_cast<Sprite*>(e) != ship)
                static_cast<Sprite*>(e)->dead = 1;
        list.removeDead();
    }
}

TEST_F(WeaponsTest, BoltsLeaveTheField) {
    MyShip* ship = flyingShip();
    auto* forward = new MyFire1(ship);
    auto* backward = new MyFire1(ship, 0.08f, -0.7f);
    list.add(forward);
    list.add(backward);
    for (int i = 0; i < 60 && !(forward->dead && backward->dead); ++i) {
        forward->move();
        backward->move();
    }
    EXPECT_TRUE(forward->dead);
    EXPECT_TRUE(backward->dead);
    EXPECT_GT(forward->z, 70.0f);
    EXPECT_LT(backward->z, -5.0f);
}

TEST_F(WeaponsTest, BombsArePacedAndCounted) {
    MyShip* ship = flyingShip();
    hold(' ');
    std::vector<Uint32> drops;
    for (fakeTicks = 900; fakeTicks <= 9000; fakeTicks += 1) {
        const int before = ship->bombs;
        ship->x = 0;
        ship->z = 10;
        ship->move();
        if (ship->bombs != before)
            drops.push_back(fakeTicks);
    }
    const std::vector<Uint32> expected = {1001, 2002, 3003, 4004, 5005};
    EXPECT_EQ(drops, expected);
    EXPECT_EQ(ship->bombs, 0);
    EXPECT_EQ(countOf<MyFire2>(list), 5);
}

TEST_F(WeaponsTest, ABombGrowsWhereItWasDroppedThenSweepsForward) {
    MyShip* ship = flyingShip();
    auto* bomb = new MyFire2(ship);
    list.add(bomb);
    int growth = 0;
    while (bomb->bombState == MyFire2::Expanding && growth < 1000) {
        bomb->move();
        growth++;
        EXPECT_FLOAT_EQ(bomb->z, 10.5f);
    }
    EXPECT_NEAR(growth, 74, 1);
    EXPECT_GT(bomb->sizeX, 15.0f);
    EXPECT_FLOAT_EQ(bomb->sizeX, bomb->sizeZ);
    EXPECT_FLOAT_EQ(bomb->sizeY, 1.0f);
    EXPECT_FLOAT_EQ(bomb->spinAngle, 10.0f * growth);
    float previousVz = bomb->vz;
    int flight = 0;
    while (!bomb->dead && flight < 1000) {
        bomb->move();
        flight++;
        EXPECT_GT(bomb->vz, previousVz);
        previousVz = bomb->vz;
    }
    EXPECT_GT(bomb->z, 70.0f);
    EXPECT_LT(flight, 60);
    // A long stall turns the ring by at most 45 degrees.
    MyFire2 other(ship);
    engine->frameStep = 10;
    other.move();
    EXPECT_FLOAT_EQ(other.spinAngle, 45.0f);
}

TEST_F(WeaponsTest, HomingMissileWithoutTargetsFliesStraightAhead) {
    MyShip* ship = flyingShip();
    auto* missile = new MyFire3(ship, 0.5f);
    list.add(missile);
    EXPECT_EQ(missile->target, nullptr);
    EXPECT_FLOAT_EQ(missile->vz, 0.0f);
    for (int i = 0; i < 85; ++i)
        missile->move();
    EXPECT_NEAR(missile->vz, 0.4f, 0.006f);
    EXPECT_FLOAT_EQ(missile->vx, 0.0f);
    EXPECT_FLOAT_EQ(missile->x, 0.5f);
}

TEST_F(WeaponsTest, HomingMissileFollowsAndRechoosesTargets) {
    MyShip* ship = flyingShip();
    auto* left = new Probe(&list, KindFighter, 8, 0.5f, 40, 1, true);
    auto* right = new Probe(&list, KindFighter, -8, 0.5f, 40, 1, true);
    list.add(left);
    list.add(right);
    auto* missile = new MyFire3(ship, 0.5f);
    list.add(missile);
    ASSERT_NE(missile->target, nullptr);
    Sprite* first = missile->target;
    Sprite* second = first == left ? right : left;
    EXPECT_EQ(first->watcherCount, 1);
    EXPECT_EQ(first->watchers[0], missile);

    for (int i = 0; i < 40; ++i)
        missile->move();
    // Turning towards the chased target.
    EXPECT_GT(missile->vx * first->x, 0.0f);
    EXPECT_NEAR(std::hypot(missile->desiredVx, missile->desiredVz), 0.4f, 1e-5);

    first->dead = 1;
    list.removeDead();
    EXPECT_EQ(missile->target, second);
    EXPECT_EQ(second->watcherCount, 1);

    second->dead = 1;
    list.removeDead();
    EXPECT_EQ(missile->target, nullptr);
    EXPECT_FLOAT_EQ(missile->desiredVx, 0.0f);
    EXPECT_FLOAT_EQ(missile->desiredVz, 0.4f);
    for (int i = 0; i < 5; ++i)
        missile->move();
}

TEST_F(WeaponsTest, ARemovedMissileLeavesItsTarget) {
    MyShip* ship = flyingShip();
    auto* target = new Probe(&list, KindCube, 0, 0.5f, 40, 1, true);
    list.add(target);
    auto* missile = new MyFire3(ship, -0.5f);
    list.add(missile);
    ASSERT_EQ(missile->target, target);
    missile->dead = 1;
    list.removeDead();
    EXPECT_EQ(target->watcherCount, 0);
    for (Sprite* w : target->watchers)
        EXPECT_EQ(w, nullptr);
    // Removing the target later must not reach the deleted missile.
    target->dead = 1;
    list.removeDead();
}

TEST_F(WeaponsTest, AMissileAndItsTargetRemovedInTheSameFrame) {
    MyShip* ship = flyingShip();
    auto* a = new Probe(&list, KindCube, 0, 0.5f, 40, 1, true);
    auto* b = new Probe(&list, KindCube, 3, 0.5f, 40, 1, true);
    list.add(a);
    list.add(b);
    std::vector<MyFire3*> missiles;
    for (int i = 0; i < 4; ++i) {
        missiles.push_back(new MyFire3(ship, 0.5f));
        list.add(missiles.back());
    }
    // The targets go first in the walk, the missiles re-choose, then the missiles go too.
    a->dead = 1;
    for (MyFire3* m : missiles)
        m->dead = 1;
    list.removeDead();
    EXPECT_EQ(b->watcherCount, 0);
    b->dead = 1;
    list.removeDead();
}

TEST_F(WeaponsTest, AMissileGetsNoTargetWhoseWatcherSlotsAreFull) {
    MyShip* ship = flyingShip();
    auto* target = new Probe(&list, KindCube, 0, 0.5f, 40, 1, true);
    list.add(target);
    Probe followers[5] = {{&list, 8, 0, 0, 0},
                          {&list, 8, 0, 0, 0},
                          {&list, 8, 0, 0, 0},
                          {&list, 8, 0, 0, 0},
                          {&list, 8, 0, 0, 0}};
    for (Probe& f : followers)
        ASSERT_TRUE(target->addWatcher(&f));
    MyFire3 missile(ship, 0.5f);
    EXPECT_EQ(missile.target, nullptr);
    for (Probe& f : followers)
        target->removeWatcher(&f);
}

TEST_F(WeaponsTest, HeadingFollowsTheVelocity) {
    MyShip* ship = flyingShip();
    MyFire3 missile(ship, 0);
    struct HeadingCase {
        float vx, vz, heading;
    };
    const HeadingCase cases[] = {{0, 0.4f, -90}, {0, -0.4f, 90},     {-0.4f, 0, 180},
                                 {0.4f, 0, 0},   {-0.3f, 0.3f, 225}, {0.3f, 0.3f, -45}};
    for (const HeadingCase& c : cases) {
        missile.vx = c.vx;
        missile.vz = c.vz;
        EXPECT_NEAR(missile.heading(), c.heading, 1e-3) << c.vx << " " << c.vz;
    }
}

TEST_F(WeaponsTest, SmokeTrailGrowsWithItsMissileAndFadesAfterIt) {
    MyShip* ship = flyingShip();
    auto* missile = new MyFire4(ship, 0.007f, 0.5f);
    list.add(missile);
    MyFire4Smoke* smoke = firstOf<MyFire4Smoke>(list);
    ASSERT_NE(smoke, nullptr);
    EXPECT_EQ(missile->watcherCount, 1);
    EXPECT_FLOAT_EQ(smoke->trailZ[0], 10.8f);
    EXPECT_EQ(smoke->trailCount, 0);

    // One point per 2 units of travel (4 ticks at 0.5).
    for (int i = 0; i < 20; ++i)
        list.moveAll();
    EXPECT_GE(smoke->trailCount, 4);
    EXPECT_LE(smoke->trailCount, 5);
    EXPECT_GT(smoke->fade, 0.0f); // three points reached: the tail starts fading

    // The missile runs out of the field; the trail keeps its points and fades at 0.1 per tick.
    while (!missile->dead)
        list.moveAll();
    list.removeDead();
    EXPECT_EQ(smoke->parent, nullptr);
    const int points = smoke->trailCount;
    EXPECT_LE(points, MyFire4Smoke::MaxPoints - 1);
    const float fade = smoke->fade;
    smoke->move();
    EXPECT_NEAR(smoke->fade, fade + 0.1f, 1e-5);
    EXPECT_EQ(smoke->trailCount, points);
    int ticks = 1;
    while (!smoke->dead && ticks < 1000) {
        smoke->move();
        ticks++;
    }
    EXPECT_TRUE(smoke->dead);
    EXPECT_GT(smoke->fade, points + 1.0f);
    list.removeDead();
    EXPECT_EQ(countOf<MyFire4Smoke>(list), 0);
}

TEST_F(WeaponsTest, SmokeAlphaFadesFromTheTailAndIsZeroOnceFadedThrough) {
    MyShip* ship = flyingShip();
    auto* missile = new MyFire4(ship, 0, 0.5f);
    list.add(missile);
    MyFire4Smoke* smoke = firstOf<MyFire4Smoke>(list);
    smoke->trailCount = 10;
    smoke->fade = 5;
    EXPECT_FLOAT_EQ(smoke->pointAlpha(10), 1.0f);
    EXPECT_FLOAT_EQ(smoke->pointAlpha(5), 0.0f);
    EXPECT_FLOAT_EQ(smoke->pointAlpha(8), 0.6f);
    smoke->fade = 10;
    EXPECT_FLOAT_EQ(smoke->pointAlpha(10), 0.0f);
    smoke->fade = 10.4f;
    EXPECT_FLOAT_EQ(smoke->pointAlpha(10), 0.0f);
}

TEST_F(WeaponsTest, SmokeTrailNeverRunsPastItsLastPoint) {
    MyShip* ship = flyingShip();
    auto* missile = new MyFire4(ship, 0, 0.5f);
    list.add(missile);
    MyFire4Smoke* smoke = firstOf<MyFire4Smoke>(list);
    missile->z = 1000; // far beyond anything the field allows
    for (int i = 0; i < 200 && !smoke->dead; ++i)
        smoke->move();
    EXPECT_LE(smoke->trailCount, MyFire4Smoke::MaxPoints - 1);
}

TEST_F(WeaponsTest, SmokeWaversOnlyBetweenItsEnds) {
    MyShip* ship = flyingShip();
    auto* missile = new MyFire4(ship, 0, 0.5f);
    list.add(missile);
    MyFire4Smoke* smoke = firstOf<MyFire4Smoke>(list);
    for (int i = 0; i < 100; ++i)
        list.moveAll();
    float spread = 0;
    for (int k = 1; k < smoke->trailCount; ++k) {
        spread += std::fabs(smoke->trailX[k]);
        EXPECT_LE(std::fabs(smoke->trailX[k]), 0.4f * k + 1e-4f);
    }
    EXPECT_GT(spread, 0.0f);
    EXPECT_FLOAT_EQ(smoke->trailX[0], 0.0f);
    EXPECT_FLOAT_EQ(smoke->trailX[smoke->trailCount], 0.0f);
}

} // namespace
