// The ship's weapons, the pick-up beams, explosions and their debris, and what a full set of watchers
// means for each follower.
#include "GameFixture.h"

namespace {

using Weapons = GameTest;

// Held fire gives a salvo every 120 ms for the first 850 ms, then every 370 ms; a new press fires at once.
// Bombs go at most once a second, five of them.
TEST_F(Weapons, FireAndBombsArePaced) {
    MyShip* ship = flyingShip();
    ship->move(); // fire not held: the hold starts here
    hold('w');
    hold('x');
    std::vector<Uint32> salvos, bombs;
    for (now = 1001; now <= 6000; ++now) {
        const int shots = ship->shotCount, left = ship->bombs;
        ship->x = 0;
        ship->z = 10;
        ship->move();
        if (ship->shotCount != shots && now <= 3000)
            salvos.push_back(now);
        if (ship->bombs != left)
            bombs.push_back(now);
        hold('w', now < 3000);
    }
    EXPECT_EQ(salvos,
              (std::vector<Uint32>{1001, 1122, 1243, 1364, 1485, 1606, 1727, 1848, 2219, 2590, 2961}));
    EXPECT_EQ(bombs, (std::vector<Uint32>{1001, 2002, 3003, 4004, 5005}));
    EXPECT_EQ(count<MyFire2>(), 5);
    const int shots = ship->shotCount;
    hold('w');
    ship->move();
    EXPECT_EQ(ship->shotCount, shots + 1);
}

// Over eight salvos: side bolts from level 1, homing missiles every eighth salvo from 2 (and more from 5
// and 7), rear bolts from 3, ground missiles every second salvo from 4, outer bolts from 6.
TEST_F(Weapons, SalvosGrowWithTheWeaponLevel) {
    // clang-format off
    constexpr int totals[][5] = {{0, 8, 0, 0, 0}, {1, 24, 0, 0, 0}, {2, 24, 0, 2, 0}, {3, 40, 16, 2, 0},
        {4, 40, 16, 2, 8}, {5, 40, 16, 4, 8}, {6, 56, 16, 4, 8}, {7, 56, 16, 8, 8}};
    // clang-format on
    hold('w');
    for (const auto& [level, bolts, rear, homing, ground] : totals) {
        MyShip* ship = flyingShip();
        ship->weaponLevel = level;
        MyShip::lastShotTime = 0;
        std::vector<int> missilesPerSalvo;
        for (int salvo = 1; salvo <= 8; ++salvo) {
            const int before = count<MyFire3>() + count<MyFire4>();
            now = 1000 * salvo;
            ship->move();
            missilesPerSalvo.push_back(count<MyFire3>() + count<MyFire4>() - before);
        }
        int backwards = 0;
        for (Elem* e = sprites()->head; e; e = e->next)
            backwards += dynamic_cast<MyFire1*>(e) && static_cast<Sprite*>(e)->vz < 0;
        SCOPED_TRACE(level);
        EXPECT_TRUE(ship->shotCount == 8 && count<MyFire1>() == bolts && backwards == rear);
        EXPECT_TRUE(count<MyFire3>() == homing && count<MyFire4>() == ground &&
                    count<MyFire4Smoke>() == ground);
        if (level == 7) {
            EXPECT_EQ(missilesPerSalvo, (std::vector<int>{0, 4, 0, 4, 0, 4, 0, 4}));
        }
        sprites()->destroyAll();
    }
}

// A bomb ring grows where it was dropped, then sweeps ahead ever faster.
TEST_F(Weapons, BombsGrowThenSweepForward) {
    MyFire2* bomb = add(new MyFire2(flyingShip()));
    int growth = 0;
    for (; bomb->bombState == MyFire2::Expanding; ++growth) {
        bomb->move();
        ASSERT_EQ(bomb->z, 10.5f);
    }
    EXPECT_TRUE(bomb->sizeX > 15 && bomb->sizeX == bomb->sizeZ && bomb->sizeY == 1);
    EXPECT_GT(growth, 0);
    for (float vz = bomb->vz; !bomb->dead; vz = bomb->vz) {
        bomb->move();
        ASSERT_GT(bomb->vz, vz);
    }
}

// A homing missile starts at rest, chases a random live target as its watcher (turning 0.005 a tick
// towards 0.4 along the line to it) and picks another when it goes; with none it flies straight ahead.
TEST_F(Weapons, HomingMissilesChaseTargets) {
    MyShip* ship = flyingShip();
    MyFire3* lone = add(new MyFire3(ship, 0.5f));
    moveTimes(lone, 85);
    EXPECT_TRUE(lone->target == nullptr && lone->vx == 0 && lone->x == 0.5f);
    EXPECT_NEAR(lone->vz, 0.4f, 0.006f);
    Probe* left = spawn<Probe>(KindFighter, 8.0f, 0.5f, 40.0f);
    Probe* right = spawn<Probe>(KindFighter, -8.0f, 0.5f, 40.0f);
    left->isTarget = right->isTarget = true;
    sprites()->targetCount = 2;
    MyFire3* missile = add(new MyFire3(ship, 0.5f));
    Sprite* chased = missile->target;
    ASSERT_TRUE(chased && chased->watchers[0] == missile);
    moveTimes(missile, 40);
    EXPECT_GT(missile->vx * chased->x, 0);
    EXPECT_NEAR(std::hypot(missile->desiredVx, missile->desiredVz), 0.4f, 1e-5f);
    Sprite* other = chased == left ? right : left;
    chased->dead = 1;
    sprites()->removeDead();
    EXPECT_TRUE(missile->target == other && other->watcherCount == 1);
    other->dead = 1;
    sprites()->removeDead();
    EXPECT_TRUE(missile->target == nullptr && missile->desiredVx == 0 && missile->desiredVz == 0.4f);
}

// Followers let go of their hosts: removed missiles (even with their target in the same pass) leave no
// watcher behind, a ground missile's trail (never past its last slot) lets go of the removed missile, and
// pick-up effects let go of the ship when they end and end with it.
TEST_F(Weapons, FollowersLetGoOfTheirHosts) {
    MyShip* ship = flyingShip();
    Probe* a = spawn<Probe>(KindCube, 0.0f, 0.5f, 40.0f);
    Probe* b = spawn<Probe>(KindCube, 3.0f, 0.5f, 40.0f);
    a->isTarget = b->isTarget = true;
    sprites()->targetCount = 2;
    for (int i = 0; i < 4; ++i)
        add(new MyFire3(ship, 0.5f))->dead = 1;
    a->dead = 1;
    sprites()->removeDead();
    EXPECT_TRUE(b->watcherCount == 0 && b->watchers[0] == nullptr);
    MyFire4* missile = add(new MyFire4(ship, 0, 0.5f));
    MyFire4Smoke* smoke = first<MyFire4Smoke>();
    ASSERT_TRUE(smoke && smoke->parent == missile && missile->watcherCount == 1);
    missile->z = 1000;
    ticksToLive(smoke, 200);
    EXPECT_LE(smoke->trailCount, MyFire4Smoke::MaxPoints - 1);
    missile->dead = 1;
    sprites()->removeDead();
    EXPECT_EQ(smoke->parent, nullptr);
    SpecialEffect1* effects[3];
    for (SpecialEffect1*& e : effects)
        e = add(new SpecialEffect1(ship, 1));
    effects[0]->dead = 1;
    sprites()->removeDead();
    EXPECT_EQ(ship->watcherCount, 2);
    ship->dead = 1;
    sprites()->removeDead();
    EXPECT_EQ(count<SpecialEffect1>(), 0);
}

// With all five watcher slots of its host taken, a missile flies straight on, a smoke trail stays where it
// began and a pick-up effect runs out undrawn, the capsule still counting; a trap, needing no slot, still
// holds the ship and rains on it.
TEST_F(Weapons, FollowersOfAFullHostGoWithout) {
    MyShip* ship = flyingShip();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ship->addWatcher(spawn<Probe>(KindEffect)));
    ship->isTarget = true;
    sprites()->targetCount = 1;
    EXPECT_EQ(add(new MyFire3(ship, 0))->target, nullptr);
    MyFire4* missile = add(new MyFire4(ship, 0, 0.5f));
    for (int i = 0; i < 5; ++i)
        missile->addWatcher(spawn<Probe>(KindEffect));
    EXPECT_EQ(add(new MyFire4Smoke(missile))->parent, nullptr);
    Probe capsule(sprites(), KindDiamond);
    capsule.capsuleType = 1;
    ship->collide(&capsule);
    EXPECT_TRUE(first<SpecialEffect1>()->host == nullptr && ship->bombs == 6 && ship->watcherCount == 5);
    auto* trap = spawn<Piege>();
    trap->collide(ship);
    moveTimes(trap, 5);
    EXPECT_TRUE(trap->state == Piege::Alarm && trap->victim == ship && count<Spirale>() > 0);
}

} // namespace
