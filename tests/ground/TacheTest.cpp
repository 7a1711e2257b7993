#include "GroundFixture.h"

#include "core/SpriteKind.h"
#include "enemies/ExplosionJustSmoke.h"
#include "enemies/Scratcher.h"
#include "enemies/Tache.h"
#include "enemies/TacheBench.h"
#include "player/MyShip.h"

#include <cmath>

namespace {

// Opens the glow walk to the tests.
class OpenTache : public Tache {
public:
    using Tache::Tache;
    using Tache::walkGlow;
};

using TacheTest = GroundTest;

TEST_F(TacheTest, StartsAtTheFarEndGlowingEvenly) {
    Tache* nest = spawn<Tache>(-4.0f, 9);
    EXPECT_EQ(nest->kind, KindTache);
    EXPECT_FLOAT_EQ(nest->x, -4.0f);
    EXPECT_FLOAT_EQ(nest->y, 0);
    EXPECT_FLOAT_EQ(nest->z, 73.0f);
    EXPECT_EQ(nest->state, Tache::Active);
    for (float g : nest->glow)
        EXPECT_FLOAT_EQ(g, 0.1f);
    TacheBench* bench = spawn<TacheBench>(2.7f, 100.0f);
    EXPECT_EQ(bench->kind, KindTache);
    EXPECT_EQ(bench->hitPoints, 1);
    EXPECT_EQ(bench->spawnTimer, 0);
}

TEST_F(TacheTest, GlowWalkStaysBetweenTheFloorAndJustAboveTheCeiling) {
    OpenTache* nest = spawn<OpenTache>(0.0f, 9);
    float highest = 0, sum = 0;
    for (int i = 0; i < 20000; ++i) {
        nest->walkGlow();
        for (float g : nest->glow) {
            ASSERT_GE(g, 0.0f);
            ASSERT_LT(g, 0.3f); // above 0.2 the walk drifts down by about 0.012 a step
            highest = std::max(highest, g);
            sum += g;
        }
    }
    EXPECT_GT(highest, 0.2f);
    EXPECT_LT(sum / 100000, 0.15f);
}

TEST_F(TacheTest, AFlareSinksBackUnderTheCeiling) {
    OpenTache* nest = spawn<OpenTache>(0.0f, 9);
    nest->glow[0] = 0.7f;
    int walks = 0;
    while (nest->glow[0] > 0.23f && walks < 1000) {
        const float before = nest->glow[0];
        nest->walkGlow();
        EXPECT_LT(nest->glow[0], before + 0.018f);
        ++walks;
    }
    EXPECT_GT(walks, 20);
    EXPECT_LT(walks, 100);
}

TEST_F(TacheTest, HatchesAboutOnceInTwoHundredTicks) {
    Tache* nest = spawn<Tache>(3.0f, 9);
    for (int i = 0; i < 20000; ++i) {
        nest->z = 60;
        nest->move();
    }
    const int hatched = countOf<Scratcher>();
    EXPECT_GT(hatched, 70);
    EXPECT_LT(hatched, 130);
}

struct NestHitCase {
    int otherKind;
    int hitPoints;
    int expectedHitPoints;
    bool destroyed;
};

constexpr NestHitCase nestHits[] = {
    {KindMyShip, 9, 9, false},  {KindMyFire1, 9, 9, false},   {KindMyFire2, 9, -2, true},
    {KindMyFire4, 9, 7, false}, {KindMyFire4, 2, 0, true},    {KindSpirale, 9, 9, false},
    {KindCube, 9, 9, false},    {KindScratcher, 1, 1, false},
};

TEST_F(TacheTest, OnlyHeavyWeaponsHurtANest) {
    for (const NestHitCase& c : nestHits) {
        SCOPED_TRACE(testing::Message() << "kind " << c.otherKind);
        Tache* nest = spawn<Tache>(0.0f, c.hitPoints);
        Probe other(&list, c.otherKind);
        const int explosions = countOf<Explosion>();
        nest->collide(&other);
        EXPECT_EQ(nest->hitPoints, c.expectedHitPoints);
        EXPECT_EQ(nest->state, c.destroyed ? Tache::Destroyed : Tache::Active);
        EXPECT_EQ(other.points, c.destroyed ? 100 : 0);
        EXPECT_EQ(countOf<Explosion>() - explosions, c.destroyed ? 1 : 0);
        EXPECT_FALSE(nest->dead); // a destroyed nest lies on, flat and dark
    }
}

TEST_F(TacheTest, NineHitPointsTakeFiveHeavyRocketsAndScoreOnce) {
    Tache* nest = spawn<Tache>(0.0f, 9);
    Probe rocket(&list, KindMyFire4);
    for (int i = 0; i < 4; ++i) {
        nest->collide(&rocket);
        EXPECT_EQ(nest->state, Tache::Active);
    }
    nest->collide(&rocket);
    EXPECT_EQ(nest->state, Tache::Destroyed);
    nest->collide(&rocket);
    EXPECT_EQ(rocket.points, 100);
    EXPECT_EQ(countOf<Explosion>(), 1);
}

TEST_F(TacheTest, ADestroyedNestStopsHatchingAndStaysSunken) {
    Tache* nest = spawn<Tache>(0.0f, 9);
    Probe laser(&list, KindMyFire2);
    nest->collide(&laser);
    const float sunken[5] = {-0.2f, -0.1f, -0.1f, -0.1f, -0.1f};
    for (int i = 0; i < 5000; ++i) {
        nest->z = 60;
        nest->move();
    }
    EXPECT_EQ(countOf<Scratcher>(), 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_FLOAT_EQ(nest->glow[i], sunken[i]);
    nest->z = 0;
    while (!nest->dead)
        nest->move();
    EXPECT_LT(nest->z, -3.0f);
}

TEST_F(TacheTest, ABenchNestHatchesOnItsPeriodEvenWhenDestroyed) {
    TacheBench* bench = spawn<TacheBench>(5.0f, 100.0f);
    for (int i = 0; i < 1000; ++i) {
        bench->z = 60;
        bench->move();
    }
    EXPECT_EQ(countOf<Scratcher>(), 9); // at ticks 101, 201, ... 901
    Probe laser(&list, KindMyFire2);
    bench->collide(&laser);
    EXPECT_EQ(bench->state, Tache::Destroyed);
    for (int i = 0; i < 1000; ++i) {
        bench->z = 60;
        bench->move();
        for (float g : bench->glow)
            ASSERT_GE(g, 0.0f);
    }
    EXPECT_EQ(countOf<Scratcher>(), 19);
    Scratcher* last = lastOf<Scratcher>();
    EXPECT_FLOAT_EQ(last->x, 5.0f);
    EXPECT_FLOAT_EQ(last->vx, 0);
    EXPECT_FLOAT_EQ(last->vz, (25.0f - last->z) / 120.0f);
}

TEST_F(TacheTest, AScratcherLandsOnItsAimPointAfterOneHundredTwentyTicks) {
    Scratcher* s = spawn<Scratcher>(-2.0f, 60.0f, true);
    EXPECT_EQ(s->kind, KindScratcher);
    EXPECT_FLOAT_EQ(s->y, 0.3f);
    EXPECT_FLOAT_EQ(s->vy, 0.3f);
    float peak = 0;
    for (int i = 0; i < 120; ++i) {
        s->move();
        peak = std::max(peak, s->y);
        ASSERT_FALSE(s->dead) << i;
    }
    EXPECT_NEAR(s->x, -2.0f, 1e-3f);
    EXPECT_NEAR(s->z, 25.0f, 1e-3f);
    EXPECT_NEAR(s->y, 0.0f, 2e-3f);
    EXPECT_GT(peak, 9.0f);
    int more = 0;
    while (!s->dead && more < 5) {
        s->move();
        ++more;
    }
    EXPECT_TRUE(s->dead);
    EXPECT_LE(more, 2);
    EXPECT_EQ(countOf<Explosion>(), 1);
}

TEST_F(TacheTest, AHatchedScratcherAimsAtTheShipTwoTimesInThree) {
    MyShip* ship = spawn<MyShip>(100); // first in the list: the cursor rests on it
    ship->x = 4;
    ship->z = 10;
    int atShip = 0;
    const int n = 600;
    for (int i = 0; i < n; ++i) {
        Scratcher* s = spawn<Scratcher>(0.0f, 70.0f, false);
        const float ax = s->x + s->vx * 120, az = s->z + s->vz * 120;
        if (std::fabs(ax - 4) < 1e-3f && std::fabs(az - 10) < 1e-3f) {
            ++atShip;
        } else {
            EXPECT_GE(ax, -12.0f - 1e-3f);
            EXPECT_LE(ax, 11.5f + 1e-3f);
            EXPECT_GE(az, 2.0f - 1e-3f);
            EXPECT_LE(az, 26.0f + 1e-3f);
        }
    }
    EXPECT_GT(atShip, n / 2);
    EXPECT_LT(atShip, n * 5 / 6);
}

TEST_F(TacheTest, WithoutAShipUnderTheCursorItAimsAtRandom) {
    MyShip* ship = spawn<MyShip>(100);
    spawn<Probe>(KindCube);
    ship->x = 4;
    ship->z = 10;
    ship->dead = 1;
    list.removeDead(); // the cursor moves off the removed ship, onto the head
    for (int i = 0; i < 200; ++i) {
        Scratcher* s = spawn<Scratcher>(0.0f, 70.0f, false);
        const float ax = s->x + s->vx * 120, az = s->z + s->vz * 120;
        EXPECT_FALSE(std::fabs(ax - 4) < 1e-3f && std::fabs(az - 10) < 1e-3f && i > 20);
        EXPECT_GE(az, 2.0f - 1e-3f);
    }
    list.destroyAll();
    // An empty list has no cursor at all.
    Scratcher* lone = new Scratcher(&list, 1.0f, 50.0f, false);
    EXPECT_GE(lone->z + lone->vz * 120, 2.0f - 1e-3f);
    delete lone;
}

struct SmokeCase {
    int details;
    float period;
};

TEST_F(TacheTest, SmokeTrailFollowsTheDetailLevel) {
    engine->frameStep = 0.05f;
    for (const SmokeCase c : {SmokeCase{0, 2.4f}, SmokeCase{1, 1.7f}, SmokeCase{2, 1.0f}}) {
        engine->details = c.details;
        Scratcher* s = spawn<Scratcher>(0.0f, 60.0f, true);
        const int before = countOf<ExplosionJustSmoke>();
        for (int i = 0; i < 2000; ++i) // 100 ticks of flight
            s->move();
        const int puffs = countOf<ExplosionJustSmoke>() - before;
        EXPECT_NEAR(puffs, 100.0f / (c.period + 0.05f), 2.0f) << "details " << c.details;
        s->dead = 1;
        list.removeDead();
    }
}

TEST_F(TacheTest, PlayerShotsBlowAScratcherUpWithoutPoints) {
    struct Case {
        int kind;
        bool explodes;
    };
    for (const Case c : {Case{KindMyFire1, true}, Case{KindMyFire2, true}, Case{KindMyFire4, false},
                         Case{KindMyShip, false}, Case{KindTache, false}, Case{KindSpirale, false}}) {
        Scratcher* s = spawn<Scratcher>(0.0f, 60.0f, true);
        Probe other(&list, c.kind);
        const int explosions = countOf<Explosion>();
        s->collide(&other);
        s->collide(&other);
        EXPECT_EQ(s->dead != 0, c.explodes) << c.kind;
        EXPECT_EQ(countOf<Explosion>() - explosions, c.explodes ? 1 : 0) << c.kind;
        EXPECT_EQ(other.points, 0);
    }
}

} // namespace
