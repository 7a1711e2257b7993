// The wave generator's rules by score, and a long game of the whole logic without GL or audio.
#include "GameFixture.h"

#include "core/Waves.h"

namespace {

enum Made { Fighters, Nests, Cubes, Bandits, Raiders, Traps, Tanks };

class Waves : public GameTest {
protected:
    // What the generator makes in the given frames at the score, each frame's sprites cleared afterwards
    // (so the tank limit never bites); hit points seen last, by what was made.
    std::array<int, 7> run(int score, int frames, float step = 10) {
        world->score = score;
        engine->frameStep = step;
        std::array<int, 7> made{};
        for (int i = 0; i < frames; ++i) {
            runWaves(world);
            for (Elem* e = sprites()->head; e; e = e->next) {
                const int kind = static_cast<Sprite*>(e)->kind;
                const int m = dynamic_cast<Fighter2*>(e)  ? Fighters
                              : dynamic_cast<Bandit2*>(e) ? Bandits
                              : kind == KindTache         ? Nests
                              : kind == KindCube          ? Cubes
                              : kind == KindShip1         ? Raiders
                              : kind == KindPiege         ? Traps
                              : kind == KindTank          ? Tanks
                                                          : -1;
                if (auto* f = dynamic_cast<Fighter2*>(e)) {
                    lanes.insert(f->z == 70 ? f->x : 100.0f);
                    agility = {std::min(agility.first, f->agility), std::max(agility.second, f->agility)};
                }
                if (m >= 0) {
                    ++made[m];
                    hitPoints[m] =
                        hitPointsOf(static_cast<Sprite*>(e)) ? *hitPointsOf(static_cast<Sprite*>(e)) : 0;
                }
            }
            clearAllButShip();
        }
        return made;
    }
    std::array<int, 7> hitPoints{};
    std::set<float> lanes;
    std::pair<float, float> agility{1, 0};
};

// Which rules run at each score boundary (with a ship): bandits, raiders, traps, tanks, and the extra
// nests above 100 000 (the nest rule alone gives about 30 in 3000 frames of 10 ticks, the extra some 100).
TEST_F(Waves, EachTierRunsItsRules) {
    flyingShip();
    // clang-format off
    constexpr int tiers[][6] = {{0, 0, 0, 0, 0, 0}, {1000, 0, 0, 0, 0, 0}, {1001, 1, 0, 0, 0, 0}, {4000, 1, 0, 0, 0, 0},
        {4001, 1, 0, 1, 0, 0}, {11999, 1, 0, 1, 0, 0}, {12000, 0, 0, 1, 0, 0}, {12001, 0, 1, 1, 0, 0},
        {34999, 0, 1, 1, 0, 0}, {35000, 0, 0, 1, 0, 0}, {35001, 1, 0, 1, 0, 0}, {50000, 1, 0, 1, 0, 0},
        {50001, 1, 0, 1, 1, 0}, {55000, 1, 0, 1, 1, 0}, {55001, 1, 1, 1, 1, 0}, {99999, 1, 1, 1, 1, 0},
        {100000, 1, 1, 1, 0, 0}, {100001, 1, 1, 1, 1, 1}};
    // clang-format on
    for (const auto& [score, bandits, raiders, traps, tanks, extraNests] : tiers) {
        const std::array<int, 7> made = run(score, 3000);
        EXPECT_TRUE(made[Fighters] > 50 && made[Cubes] > 50 && made[Nests] > 10) << score;
        EXPECT_EQ(
            (std::array{made[Bandits] > 0, made[Raiders] > 0, made[Traps] > 0, made[Tanks] > 0,
                        made[Nests] > 70}),
            (std::array<bool, 5>{bool(bandits), bool(raiders), bool(traps), bool(tanks), bool(extraNests)}))
            << score;
    }
    // Fighters come in at z = 70 in 140 lanes from x = −7 by 0.1, with agility 0.5 to 0.9921875.
    EXPECT_TRUE(lanes.size() == 140 && *lanes.begin() == -7 && std::fabs(*lanes.rbegin() - 6.9f) < 1e-5f);
    EXPECT_EQ(agility, (std::pair{0.5f, 0.9921875f}));
}

// Mean ticks between spawns: cubes 160, traps 150 up to 10 000 then 240 and 250; tanks 350 up to 80 000
// then 250. Without a ship only the ground rules run, at level 0; paused, nothing comes; a frame of ten
// ticks makes every rule ten times as likely.
TEST_F(Waves, RatesFollowTheScore) {
    MyShip* ship = flyingShip();
    // clang-format off
    constexpr int rates[][3] = {{10000, Cubes, 160}, {10001, Cubes, 240}, {10000, Traps, 150}, {10001, Traps, 250},
        {80000, Tanks, 350}, {80001, Tanks, 250}};
    // clang-format on
    for (const auto& [score, what, mean] : rates)
        EXPECT_NEAR(run(score, 20000)[what], 200000.0 / mean, 0.12 * 200000.0 / mean) << score << " " << what;
    const std::array<int, 7> slow = run(60000, 100000, 1), fast = run(60000, 10000, 10);
    for (Made m : {Fighters, Cubes, Bandits})
        EXPECT_NEAR(fast[m], slow[m], slow[m] * 0.2) << m;
    EXPECT_NEAR(fast[Fighters], 100000 / 300.0, 100000 / 300.0 * 0.15);
    EXPECT_EQ(run(150000, 10000, 0), (std::array<int, 7>{}));
    engine->ship = nullptr;
    for (int score : {2000, 20000, 60000, 150000}) {
        const std::array<int, 7> made = run(score, 3000);
        EXPECT_TRUE(made[Bandits] + made[Raiders] + made[Tanks] == 0 && made[Fighters] > 0 &&
                    made[Cubes] > 0);
        EXPECT_TRUE((made[Traps] > 0) == (score > 4000) && (made[Nests] > 70) == (score > 100000)) << score;
    }
    EXPECT_EQ(hitPoints[Fighters], 3);
    engine->ship = ship;
}

// Hit points by level (score / 1000): fighters and bandits L + 3, raiders 1.5 L + 3 cut, nests L + 8, cubes
// 2, tanks 2 L + 7.
TEST_F(Waves, StrengthFollowsTheLevel) {
    flyingShip();
    run(67890, 20000);
    EXPECT_EQ(hitPoints, (std::array{70, 75, 2, 70, 103, 0, 141}));
}

// At most three tanks alive up to 100 000, six above, where the extra nests keep coming meanwhile.
TEST_F(Waves, TanksAreLimitedByTheLivingCount) {
    flyingShip();
    engine->frameStep = 10;
    for (const auto& [score, most] : {std::pair{60000, 3}, {90000, 3}, {150000, 6}}) {
        world->score = score;
        int nests = 0;
        for (int i = 0; i < 5000; ++i) {
            runWaves(world);
            for (Elem* e = sprites()->head; e; e = e->next) {
                auto* s = static_cast<Sprite*>(e);
                nests += s->kind == KindTache;
                s->dead = s->kind != KindTank && s != engine->ship;
            }
            sprites()->removeDead();
            ASSERT_LE(Tank::living(), most);
        }
        EXPECT_EQ(Tank::living(), most);
        EXPECT_EQ(nests > 120, score > 100000) << nests;
        clearAllButShip();
    }
}

// The whole play logic for a long run, the ship firing at level 7 while the score climbs, with slow frames
// and stalls: the list's counts hold and nothing piles up (ORBITRAX_SOAK_FRAMES, 10 000 by default).
TEST_F(Waves, SoakTheWholeGameLogic) {
    const char* text = std::getenv("ORBITRAX_SOAK_FRAMES");
    const int frames = text && std::atoi(text) > 0 ? std::atoi(text) : 10000;
    hold('w');
    for (int f = 0; f < frames; ++f) {
        if (!engine->ship)
            flyingShip()->weaponLevel = 7;
        world->score = static_cast<int>(150000LL * f / frames);
        hold(sdlq::KeyLeft, f / 90 % 2);
        now += f % 997 == 0 ? 400 : f % 13 == 0 ? 45 : 15;
        world->updatePlay();
        sprites()->collideAll();
        if (engine->ship && engine->ship->dead)
            engine->ship = nullptr;
        sprites()->removeDead();
        int count = 0, targets = 0;
        for (Elem* e = sprites()->head; e; e = e->next, ++count)
            targets += static_cast<Sprite*>(e)->isTarget;
        ASSERT_TRUE(count == sprites()->count && count < 600 && targets == sprites()->targetCount) << f;
        ASSERT_LE(Tank::living(), 6) << f;
    }
}

} // namespace
