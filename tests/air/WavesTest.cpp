#include "AirFixture.h"

#include "core/Random.h"
#include "core/SpriteKind.h"
#include "core/Waves.h"
#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Fighter2.h"
#include "enemies/Piege.h"
#include "enemies/Ship1.h"
#include "enemies/Tache.h"
#include "enemies/Tank.h"

#include <map>

namespace {

struct Spawned {
    int fighters = 0, taches = 0, cubes = 0, bandits = 0, raiders = 0, pieges = 0, tanks = 0;
};

class Waves : public AirTest {
protected:
    // Runs the generator for `frames` frames, counting what each frame made and clearing the list
    // afterwards (so the tank limit never bites).
    Spawned run(int score, int frames, float step = 10) {
        world->score = score;
        engine->frameStep = step;
        Spawned s;
        for (int i = 0; i < frames; ++i) {
            runWaves(world);
            s.fighters += countOf<Fighter2>();
            s.taches += countOf<Tache>();
            s.cubes += countOf<Cube>();
            s.bandits += countOf<Bandit2>();
            s.raiders += countOf<Ship1>();
            s.pieges += countOf<Piege>();
            s.tanks += countOf<Tank>();
            sprites->destroyAll();
        }
        return s;
    }
};

// Which rules fire at each score boundary (with a ship). Taches: rule 2 only gives about 30 in 3000 frames
// of step 10, the extra rule above 100000 some 100 more.
struct Tier {
    int score;
    bool bandits, raiders, pieges, tanks, extraTache;
};

constexpr Tier Tiers[] = {
    {0, false, false, false, false, false},    {1000, false, false, false, false, false},
    {1001, true, false, false, false, false},  {4000, true, false, false, false, false},
    {4001, true, false, true, false, false},   {11999, true, false, true, false, false},
    {12000, false, false, true, false, false}, {12001, false, true, true, false, false},
    {34999, false, true, true, false, false},  {35000, false, false, true, false, false},
    {35001, true, false, true, false, false},  {50000, true, false, true, false, false},
    {50001, true, false, true, true, false},   {55000, true, false, true, true, false},
    {55001, true, true, true, true, false},    {80000, true, true, true, true, false},
    {99999, true, true, true, true, false},    {100000, true, true, true, false, false},
    {100001, true, true, true, true, true},    {150000, true, true, true, true, true},
};

TEST_F(Waves, EachTierRunsItsRules) {
    addShip();
    for (const Tier& t : Tiers) {
        SCOPED_TRACE(t.score);
        const Spawned s = run(t.score, 3000);
        EXPECT_GT(s.fighters, 50);
        EXPECT_GT(s.cubes, 50);
        EXPECT_GT(s.taches, 10);
        EXPECT_EQ(s.bandits > 0, t.bandits);
        EXPECT_EQ(s.raiders > 0, t.raiders);
        EXPECT_EQ(s.pieges > 0, t.pieges);
        EXPECT_EQ(s.tanks > 0, t.tanks);
        EXPECT_EQ(s.taches > 70, t.extraTache) << s.taches;
    }
}

// Cubes and traps come less often above 10000, tanks more often above 80000.
TEST_F(Waves, RatesChangeAtTheirScores) {
    addShip();
    struct Rate {
        int score;
        int Spawned::*field;
        double expectedMean; // ticks between spawns
    };
    const Rate rates[] = {
        {10000, &Spawned::cubes, 160},  {10001, &Spawned::cubes, 240}, {10000, &Spawned::pieges, 150},
        {10001, &Spawned::pieges, 250}, {80000, &Spawned::tanks, 350}, {80001, &Spawned::tanks, 250},
    };
    for (const Rate& r : rates) {
        SCOPED_TRACE(r.score);
        const int frames = 20000;
        const double expected = frames * 10.0 / r.expectedMean;
        const int got = run(r.score, frames).*r.field;
        EXPECT_NEAR(got, expected, expected * 0.12);
    }
}

TEST_F(Waves, WithoutAShipOnlyGroundRulesRunAtLevelZero) {
    for (int score : {2000, 20000, 60000, 150000}) {
        SCOPED_TRACE(score);
        const Spawned s = run(score, 3000);
        EXPECT_EQ(s.bandits, 0);
        EXPECT_EQ(s.raiders, 0);
        EXPECT_EQ(s.tanks, 0);
        EXPECT_GT(s.fighters, 0);
        EXPECT_GT(s.cubes, 0);
        EXPECT_EQ(s.pieges > 0, score > 4000);
        EXPECT_EQ(s.taches > 70, score > 100000);
    }
    world->score = 60000;
    engine->frameStep = 10;
    while (!firstOf<Fighter2>())
        runWaves(world);
    EXPECT_EQ(firstOf<Fighter2>()->hitPoints, 3);
}

// Hit points by level: fighters and bandits L + 3, raiders 1.5 L + 3 truncated, nests L + 8, tanks 2 L + 7.
TEST_F(Waves, StrengthFollowsTheLevel) {
    addShip();
    world->score = 67890; // level 67
    engine->frameStep = 10;
    std::map<int, int> hitPoints;
    for (int i = 0; i < 20000 && hitPoints.size() < 5; ++i) {
        runWaves(world);
        for (Elem* e = sprites->head; e; e = e->next) {
            if (auto* f = dynamic_cast<Fighter2*>(e))
                hitPoints[0] = f->hitPoints;
            if (auto* b = dynamic_cast<Bandit2*>(e))
                hitPoints[1] = b->hitPoints;
            if (auto* r = dynamic_cast<Ship1*>(e))
                hitPoints[2] = r->hitPoints;
            if (auto* t = dynamic_cast<Tache*>(e))
                hitPoints[3] = t->hitPoints;
            if (auto* t = dynamic_cast<Tank*>(e))
                hitPoints[4] = t->hitPoints;
        }
        sprites->destroyAll();
    }
    EXPECT_EQ(hitPoints[0], 70);
    EXPECT_EQ(hitPoints[1], 70);
    EXPECT_EQ(hitPoints[2], 103);
    EXPECT_EQ(hitPoints[3], 75);
    EXPECT_EQ(hitPoints[4], 141);
}

TEST_F(Waves, TanksAreLimitedByTheLivingCount) {
    addShip();
    engine->frameStep = 10;
    struct Limit {
        int score;
        int most;
    };
    for (const Limit l : {Limit{60000, 3}, Limit{90000, 3}, Limit{150000, 6}}) {
        SCOPED_TRACE(l.score);
        world->score = l.score;
        int taches = 0;
        for (int i = 0; i < 5000; ++i) {
            runWaves(world);
            // Keep the tanks, drop the rest.
            for (Elem* e = sprites->head; e; e = e->next) {
                auto* s = static_cast<Sprite*>(e);
                taches += s->kind == KindTache;
                if (s->kind != KindTank)
                    s->dead = 1;
            }
            sprites->removeDead();
            ASSERT_LE(Tank::living(), l.most);
        }
        EXPECT_EQ(Tank::living(), l.most);
        if (l.score > 100000) {
            EXPECT_GT(taches,
                      120); // rule 2 alone gives ~50: the extra nests keep coming with six tanks alive
        }
        sprites->destroyAll();
        EXPECT_EQ(Tank::living(), 0);
    }
}

TEST_F(Waves, NothingWhilePaused) {
    addShip();
    const Spawned s = run(150000, 10000, 0);
    EXPECT_EQ(s.fighters + s.taches + s.cubes + s.bandits + s.raiders + s.pieges + s.tanks, 0);
}

// A step of 10 after a stall makes every rule ten times as likely in that frame.
TEST_F(Waves, FrameStepScalesTheOdds) {
    addShip();
    const Spawned slow = run(60000, 100000, 1);
    const Spawned fast = run(60000, 10000, 10);
    EXPECT_NEAR(fast.fighters, slow.fighters, slow.fighters * 0.2);
    EXPECT_NEAR(fast.cubes, slow.cubes, slow.cubes * 0.2);
    EXPECT_NEAR(fast.bandits, slow.bandits, slow.bandits * 0.2);
    EXPECT_NEAR(fast.fighters, 10000 * 10 / 300.0, 10000 * 10 / 300.0 * 0.15);
}

// The flying enemies take their lane from the first rand() after the rule's test and their agility from
// the second.
TEST_F(Waves, LaneIsDrawnBeforeAgility) {
    engine->frameStep = 10;
    world->score = 0;
    for (unsigned seed = 1; seed < 500; ++seed) {
        std::srand(seed);
        const int test = gameRand();
        if (10.0f <= 300.0f * static_cast<float>(test) / 32000.0f)
            continue;
        const int laneDraw = gameRand();
        const int agilityDraw = gameRand();
        std::srand(seed);
        runWaves(world);
        Fighter2* f = firstOf<Fighter2>();
        ASSERT_NE(f, nullptr);
        EXPECT_FLOAT_EQ(f->x, static_cast<float>(laneDraw % 140) / 10.0f - 7.0f);
        EXPECT_FLOAT_EQ(f->agility, static_cast<float>(agilityDraw % 64) * 0.0078125f + 0.5f);
        EXPECT_FLOAT_EQ(f->z, 70.0f);
        return;
    }
    FAIL() << "no seed made a fighter in the first frame";
}

} // namespace
