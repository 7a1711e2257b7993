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

// A bomb ring grows where it was dropped, turning 10° a tick (45° at most after a stall), then sweeps
// ahead ever faster.
TEST_F(Weapons, BombsGrowThenSweepForward) {
    MyFire2* bomb = add(new MyFire2(flyingShip()));
    int growth = 0;
    for (; bomb->bombState == MyFire2::Expanding; ++growth) {
        bomb->move();
        ASSERT_EQ(bomb->z, 10.5f);
    }
    EXPECT_TRUE(bomb->sizeX > 15 && bomb->sizeX == bomb->sizeZ && bomb->sizeY == 1);
    EXPECT_FLOAT_EQ(bomb->spinAngle, 10.0f * growth);
    for (float vz = bomb->vz; !bomb->dead; vz = bomb->vz) {
        bomb->move();
        ASSERT_GT(bomb->vz, vz);
    }
    MyFire2* stalled = add(new MyFire2(engine->ship));
    engine->frameStep = 10;
    stalled->move();
    EXPECT_FLOAT_EQ(stalled->spinAngle, 45);
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
    // clang-format off
    constexpr float headings[][3] = {{0, 0.4f, -90}, {0, -0.4f, 90}, {-0.4f, 0, 180}, {0.4f, 0, 0}, {-0.3f, 0.3f, 225},
        {0.3f, 0.3f, -45}};
    // clang-format on
    for (const auto& [vx, vz, heading] : headings)
        EXPECT_NEAR((std::tie(missile->vx, missile->vz) = std::tuple{vx, vz}, missile->heading()), heading,
                    1e-3f)
            << vx << " " << vz;
}

// A removed missile stops watching its target; missiles and their target removed in one pass leave no
// watcher behind either.
TEST_F(Weapons, MissilesLetGoOfTheirTargets) {
    MyShip* ship = flyingShip();
    Probe* a = spawn<Probe>(KindCube, 0.0f, 0.5f, 40.0f);
    Probe* b = spawn<Probe>(KindCube, 3.0f, 0.5f, 40.0f);
    a->isTarget = b->isTarget = true;
    sprites()->targetCount = 2;
    for (int i = 0; i < 4; ++i)
        add(new MyFire3(ship, 0.5f))->dead = 1;
    a->dead = 1;
    sprites()->removeDead();
    EXPECT_EQ(b->watcherCount, 0);
    EXPECT_EQ(b->watchers[0], nullptr);
}

// A ground missile's trail takes a point every 2 units, starts fading from its third, keeps its points
// and fades at 0.1 a tick once the missile is gone, never passes its last slot, and wavers only between
// its ends (by 0.4 a point at most).
TEST_F(Weapons, SmokeTrailsFollowAndFade) {
    MyShip* ship = flyingShip();
    MyFire4* missile = add(new MyFire4(ship, 0, 0.5f));
    MyFire4Smoke* smoke = first<MyFire4Smoke>();
    ASSERT_TRUE(smoke && smoke->parent == missile && missile->watcherCount == 1 && smoke->trailZ[0] == 10.8f);
    for (int i = 0; i < 20; ++i)
        sprites()->moveAll();
    EXPECT_TRUE(smoke->trailCount >= 4 && smoke->trailCount <= 5 && smoke->fade > 0);
    while (!missile->dead)
        sprites()->moveAll();
    sprites()->removeDead();
    const int points = smoke->trailCount;
    EXPECT_TRUE(smoke->parent == nullptr && points <= MyFire4Smoke::MaxPoints - 1);
    float spread = 0;
    for (int k = 1; k <= points; ++k) {
        spread += std::fabs(smoke->trailX[k] - ship->x);
        EXPECT_LE(std::fabs(smoke->trailX[k] - smoke->trailX[k - 1]), 0.4f + 1e-4f);
    }
    EXPECT_TRUE(spread > 0 && smoke->trailX[0] == ship->x && smoke->trailX[points] == ship->x);
    const float fade = smoke->fade;
    smoke->move();
    EXPECT_NEAR(smoke->fade, fade + 0.1f, 1e-5f);
    EXPECT_EQ(smoke->trailCount, points);
    ticksToLive(smoke);
    EXPECT_GT(smoke->fade, points + 1.0f);
    MyFire4* far = add(new MyFire4(ship, 0, 0.5f));
    auto* long_ = static_cast<MyFire4Smoke*>(far->prev);
    far->z = 1000;
    ticksToLive(long_, 200);
    EXPECT_LE(long_->trailCount, MyFire4Smoke::MaxPoints - 1);
    long_->trailCount = 10;
    // clang-format off
    for (const auto& [fadeTo, point, alpha] : {std::tuple{5.0f, 10, 1.0f}, {5.0f, 5, 0.0f}, {5.0f, 8, 0.6f}, {10.0f, 10, 0.0f},
             {10.4f, 10, 0.0f}}) {
        // clang-format on
        long_->fade = fadeTo;
        EXPECT_FLOAT_EQ(long_->pointAlpha(point), alpha) << fadeTo << " " << point;
    }
}

// With all five watcher slots of its host taken, a trap does not sound, a missile flies straight on, a
// smoke trail stays where it began and a pick-up effect runs out undrawn, the capsule still counting.
TEST_F(Weapons, FollowersOfAFullHostGoWithout) {
    MyShip* ship = flyingShip();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ship->addWatcher(spawn<Probe>(KindEffect)));
    Piege* trap = spawn<Piege>();
    trap->collide(ship);
    EXPECT_EQ(trap->victim, nullptr);
    trap->move();
    EXPECT_EQ(trap->state, Piege::Idle);
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
}

// Pick-up beams: the count by capsule, weapon level and detail; lifetimes of 20 to 103 ticks times the
// capsule's scale, spread evenly in depth; the effect lasts as long as its longest beam. Effects follow
// the ship, let go of it when they end, and end with it.
TEST_F(Weapons, PickUpBeams) {
    // clang-format off
    constexpr float rows[][5] = {{0, 0, 0, 3, 0.9f}, {0, 0, 2, 9, 0.9f}, {1, 0, 1, 4, 0.9f}, {2, 4, 0, 6, 2.0f},
        {2, 4, 1, 10, 2.0f}, {2, 4, 2, 20, 2.0f}, {3, 0, 2, 12, 1.2f}, {3, 1, 0, 4, 1.3f}};
    // clang-format on
    for (const auto& [type, level, details, beams, scale] : rows) {
        SCOPED_TRACE(testing::Message() << type << " " << level << " " << details);
        engine->details = int(details);
        MyShip* ship = flyingShip();
        ship->weaponLevel = int(level);
        auto* effect = add(new SpecialEffect1(ship, int(type)));
        ASSERT_EQ(effect->count, beams);
        float longest = 0;
        for (int i = 0; i < effect->count; ++i) {
            EXPECT_TRUE(effect->lifetime[i] >= 20 * scale - 1e-4f &&
                        effect->lifetime[i] <= (999 / 12.0f + 20) * scale + 1e-3f);
            EXPECT_TRUE(effect->offsetZ[i] == 1 - 2.0f * i / beams && std::fabs(effect->offsetX[i]) <= 1);
            longest = std::max(longest, effect->lifetime[i]);
        }
        EXPECT_FLOAT_EQ(effect->duration, longest);
        EXPECT_NEAR(ticksToLive(effect), std::floor(longest) + 1, 1);
        sprites()->destroyAll();
    }
    MyShip* ship = flyingShip();
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

// An explosion at its source, unless an override other than 99 says otherwise; it leaves a scorch mark
// from detail level 1 and debris of 2, 4 or 5 pieces per unit of size.
TEST_F(Weapons, ExplosionsLeaveMarksAndDebris) {
    MyShip* ship = flyingShip();
    Explosion moved(ship, 7, false, false, 98.9f, 99.0f, 0.5f);
    EXPECT_TRUE(moved.x == 98.9f && moved.y == 0.5f && moved.z == 0.5f && moved.sourceKind == KindMyShip);
    // clang-format off
    constexpr int rows[][5] = {{0, 7, 1, 0, 14}, {1, 7, 1, 1, 28}, {2, 7, 1, 1, 35}, {2, 2, 0, 0, -1}, {0, 2, 0, 0, -1},
        {2, 20, 1, 1, 100}, {1, 4, 1, 1, 16}};
    // clang-format on
    for (const auto& [details, size, debris, marks, pieces] : rows) {
        engine->details = details;
        add(new Explosion(ship, size, false, debris));
        EXPECT_EQ(count<ExplosionMark>(), marks) << details << " " << size;
        EXPECT_EQ(count<PieceOfShip>() ? first<PieceOfShip>()->count : -1, pieces) << details << " " << size;
        clearAllButShip();
    }
}

// A group of pieces ends with its last piece (an empty one at once); a spark fades in, holds and fades out.
TEST_F(Weapons, DebrisEndsWithItsLastPiece) {
    Explosion* blast = add(new Explosion(flyingShip(), 1, false, false));
    for (int pieces : {300, 0}) {
        PieceOfShip* group = add(new PieceOfShip(blast, pieces));
        EXPECT_LT(ticksToLive(group, 5000), pieces ? 5000 : 2);
        EXPECT_TRUE(
            std::all_of(group->particles.begin(), group->particles.end(),
                        [](const PieceOfShip::Particle& p) { return p.phase == PieceOfShip::Finished; }));
    }
    // clang-format off
    for (const auto& [life, alpha] : {std::pair{1.0f, 0.0f}, {0.875f, 0.5f}, {0.75f, 1.0f}, {0.6f, 1.0f}, {0.5f, 1.0f},
             {0.25f, 0.5f}, {0.0f, 0.0f}})
        // clang-format on
        EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(life), alpha) << life;
}

} // namespace
