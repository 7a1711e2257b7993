// How the fighters, the raiders and the tanks move, aim and fire.
#include "GameFixture.h"

#include <numbers>

namespace {

using Air = GameTest;
constexpr float degree = std::numbers::pi_v<float> / 180;

// A fighter dives, falls back, dives again, drops a shot close in and climbs away behind the player at
// any frame step, firing at random only before the climb.
TEST_F(Air, FightersFlyTheirProgrammeAndLeave) {
    for (float step : {1.0f, 2.5f, 10.0f}) {
        engine->frameStep = step;
        for (DivingFighter* f : {static_cast<DivingFighter*>(spawn<Fighter2>(0.0f, 70.0f, 0.75f, 3)),
                                 static_cast<DivingFighter*>(spawn<Bandit2>(0.0f, 70.0f, 0.75f, 3))}) {
            std::vector<int> states = {f->state};
            int frames = 0, climbShots = 0;
            for (; !f->dead && frames < 5000; ++frames) {
                const int state = f->state, shots = count<DivingFighterFire>();
                f->move();
                climbShots += state == DivingFighter::Climb ? count<DivingFighterFire>() - shots : 0;
                if (states.back() != f->state)
                    states.push_back(f->state);
            }
            EXPECT_EQ(states, (std::vector<int>{0, 1, 2, 3})) << step;
            EXPECT_TRUE(count<DivingFighterFire>() > 0 && climbShots == 0 && f->z < -3 &&
                        frames < 3000 / step);
        }
        sprites()->destroyAll();
    }
}

// Speeds reach but never pass 0.5 × agility along z and 0.2 × agility across; a fighter drifts onto the
// ship's lane, and inside its dead zone of ±2 × agility the pulls cancel.
TEST_F(Air, FightersSpeedAndTrackByTheirAgility) {
    flyingShip(8, 5);
    engine->frameStep = 10;
    for (float agility : {0.5f, 0.9921875f}) {
        auto* f = spawn<Fighter2>(-6.0f, 70.0f, agility, 3);
        float fastZ = 0, fastX = 0, nearest = 100;
        for (; !f->dead; f->move()) {
            std::tie(fastZ, fastX) =
                std::tuple{std::max(fastZ, std::fabs(f->vz)), std::max(fastX, std::fabs(f->vx))};
            nearest = std::min(nearest, f->state < DivingFighter::Climb ? std::fabs(f->x - 8) : nearest);
        }
        EXPECT_NEAR(fastZ, 0.5f * agility, 1e-6f) << agility;
        EXPECT_NEAR(fastX, 0.2f * agility, 1e-6f) << agility;
        EXPECT_LT(nearest, 1) << agility;
    }
    engine->frameStep = 1;
    auto* f = spawn<Bandit2>(0.0f, 20.0f, 0.5f, 3);
    for (float x : {7.01f, 8.99f}) {
        std::tie(f->x, f->vx, f->state) = std::tuple{x, 0.05f, DivingFighter::FallBack};
        f->move();
        EXPECT_FLOAT_EQ(f->vx, 0.05f) << x;
    }
}

// A raider comes in at the far end on its own ellipse, then at z = 25 either circles from angle 180 or
// throws a loop (centred 4.5 high), without a step in the frame it turns.
TEST_F(Air, RaidersComeInAndCircleOrLoop) {
    flyingShip(0, 5);
    std::set<int> outcomes;
    for (int i = 0; i < 50; ++i) {
        Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
        EXPECT_TRUE(r->centreX >= -5 && r->centreX <= 4.9f + 1e-5f && r->radiusX >= 3 &&
                    r->radiusX <= 9.9f + 1e-5f && r->x == r->centreX - r->radiusX);
        float z = r->z;
        for (; r->state == Ship1::Approach; r->move())
            z = r->z;
        outcomes.insert(r->state);
        EXPECT_TRUE(r->z == z && (r->state == Ship1::Circling ? r->quarter == 2 && r->angle == 180
                                                              : r->angle == -90 && r->centreX == 4.5f));
    }
    EXPECT_EQ(outcomes, (std::set<int>{Ship1::Circling, Ship1::Loop}));
}

// A raider gives up with one chance in twenty each time round and leaves behind the player at 0.4 a tick;
// without a ship it circles its first ellipse for ever, and a loop ends in leaving.
TEST_F(Air, RaidersLeaveAfterSomeTurns) {
    MyShip* ship = flyingShip();
    int left = 0;
    for (int seed = 0; seed < 20; ++seed) {
        std::srand(seed);
        Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
        bool leaving = false;
        for (int f = 0; f < 20000 && !r->dead; ++f, leaving |= r->state == Ship1::Leaving) {
            std::tie(ship->x, ship->z) = std::tuple{1 + 3 * std::sin(f / 70.0f), 8 + 4 * std::sin(f / 45.0f)};
            r->move();
        }
        left += r->dead && leaving && r->z < -3 && r->z > -3.81f;
        clearAllButShip();
    }
    EXPECT_GE(left, 18);
    engine->ship = nullptr;
    Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
    std::tie(r->state, r->quarter) = std::tuple{Ship1::Circling, 2};
    const auto ellipse = [r] { return std::tuple{r->state, r->centreX, r->centreZ, r->radiusX, r->radiusZ}; };
    const auto first = ellipse();
    moveTimes(r, 2000);
    EXPECT_TRUE(ellipse() == first &&
                std::fabs(r->x - r->radiusX * std::cos(r->angle * degree) - r->centreX) < 1e-3f);
    std::tie(r->z, r->state) = std::tuple{20.0f, Ship1::Loop};
    r->move();
    EXPECT_EQ(r->state, Ship1::Leaving);
    EXPECT_LT(ticksToLive(r), 1000);
}

// Of two touching raiders only the nearer one loops, and never one already looping or meeting a looper.
TEST_F(Air, TouchingRaidersMakeTheNearerLoop) {
    Ship1* near = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
    Ship1* far = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
    std::tie(near->state, near->z, far->state, far->z) =
        std::tuple{Ship1::Circling, 10.0f, Ship1::Circling, 11.0f};
    far->collide(near);
    near->collide(far);
    EXPECT_TRUE(far->state == Ship1::Circling && near->state == Ship1::Loop && near->centreZ == 10);
    near->angle = 30;
    near->collide(far);
    far->z = 9;
    far->collide(near);
    EXPECT_TRUE(near->angle == 30 && far->state == Ship1::Circling);
}

// The barrel points along (−cos θ, sin θ), straight ahead of the player is −90; the tank keeps only the
// angle, and without a ship it rolls on. The turret turns 3.5° a tick the short way round, wrapping at
// ±180, until within 2.5° a tick of its aim.
TEST_F(Air, TurretsAimAndTurnTheShortWay) {
    MyShip* ship = flyingShip();
    // clang-format off
    constexpr float aims[][3] = {{0, -10, -90}, {0, 0, -90}, {0, 5, 90}, {-5, 0, 0}, {5, 0, 180}, {-5, -5, -45},
        {5, -5, -135}, {5, 5, 135}};
    constexpr float turns[][4] = {{170, -170, 1, 5}, {-170, 170, 1, 5}, {-90, 0, 1, 25}, {0, -90, 2, 13}, {-90, -89, 1, 0}};
    // clang-format on
    for (const auto& [dx, dz, angle] : aims) {
        Tank* t = spawn<Tank>(2, 7);
        std::tie(t->z, t->state, ship->x, ship->z) = std::tuple{20.0f, Tank::Acquire, 2 + dx, 20 + dz};
        t->move();
        EXPECT_EQ(t->state, Tank::TurnTurret);
        EXPECT_NEAR(t->targetAngle, angle, 1e-3f) << dx << ", " << dz;
    }
    for (const auto& [from, to, step, frames] : turns) {
        engine->frameStep = step;
        Tank* t = spawn<Tank>(0, 7);
        std::tie(t->z, t->turretAngle, t->state) = std::tuple{30.0f, from, Tank::Acquire};
        std::tie(ship->x, ship->z) = std::tuple{-10 * std::cos(to * degree), 30 + 10 * std::sin(to * degree)};
        int turned = 0;
        for (t->move(); t->state == Tank::TurnTurret && turned < 200; ++turned) {
            const float previous = t->turretAngle;
            t->move();
            const float moved = std::fabs(std::remainder(t->turretAngle - previous, 360.0f));
            EXPECT_TRUE(std::fabs(t->turretAngle) <= 180);
            EXPECT_NEAR(t->state == Tank::TurnTurret ? moved : 3.5f * step, 3.5f * step, 1e-3f);
        }
        EXPECT_TRUE(t->state == Tank::Aim && t->aimTimer == 0 && turned == frames + 1)
            << from << " -> " << to;
    }
    engine->ship = nullptr;
    Tank* t = spawn<Tank>(2, 7);
    t->state = Tank::Acquire;
    t->move();
    EXPECT_EQ(t->state, Tank::Advance);
}

// After more than 10 ticks of aim the turret snaps on target and a shell leaves six steps ahead at 1.2 ×
// a fifth of the aim per tick, 0.7 high; the tank recoils one step, never beyond x = ±11.
TEST_F(Air, TanksRecoilAsTheyFire) {
    engine->frameStep = 5;
    for (const auto& [x, angle, xAfter] : {std::tuple{0.0f, -90.0f, 0.0f},
                                           {10.95f, 0.0f, 11.0f},
                                           {-10.95f, 180.0f, -11.0f},
                                           {5.0f, 0.0f, 5.2f},
                                           {-5.0f, 180.0f, -5.2f}}) {
        Tank* t = spawn<Tank>(0, 7);
        std::tie(t->x, t->z, t->state, t->targetAngle, t->turretAngle) =
            std::tuple{x, 30.0f, Tank::Aim, angle, angle + 1};
        moveTimes(t, 2);
        EXPECT_EQ(count<TankFire>(), 0);
        t->move();
        const TankFire* shell = first<TankFire>();
        ASSERT_TRUE(shell && t->state == Tank::Reverse && t->turretAngle == angle) << x;
        const float dx = -std::cos(angle * degree) / 5, dz = std::sin(angle * degree) / 5;
        EXPECT_TRUE(std::fabs(t->x - xAfter) < 1e-4f && std::fabs(t->z - 30 + dz) < 1e-4f) << x;
        EXPECT_TRUE(std::fabs(shell->vx - 1.2f * dx) < 1e-5f && std::fabs(shell->vz - 1.2f * dz) < 1e-5f)
            << x;
        EXPECT_TRUE(std::fabs(shell->x - t->x - 6 * dx) < 1e-4f && shell->y == 0.7f &&
                    shell->heading == angle)
            << x;
        sprites()->destroyAll();
    }
}

// With a ship about a tank rolls in, stops short of the player, shuffles, aims and fires, and never
// leaves; the tank count follows the tanks made and deleted.
TEST_F(Air, TanksShuffleAimAndFireForever) {
    flyingShip(2, 5);
    std::srand(3);
    Tank* t = spawn<Tank>(-6, 7);
    EXPECT_EQ(Tank::living(), 1);
    std::set<int> states;
    int shells = 0;
    float nearest = 100, farthest = 0;
    for (int f = 0; f < 20000; ++f) {
        const int before = t->state;
        sprites()->moveAll();
        states.insert(t->state);
        shells += before == Tank::Aim && t->state == Tank::Reverse;
        sprites()->removeDead();
        ASSERT_TRUE(!t->dead && std::fabs(t->x) <= 11 + 1e-4f && std::fabs(t->trackScrollLeft) <= 1);
        std::tie(nearest, farthest) = f > 1000 ? std::pair{std::min(nearest, t->z), std::max(farthest, t->z)}
                                               : std::pair{nearest, farthest};
    }
    EXPECT_EQ(states,
              (std::set<int>{Tank::Advance, Tank::Reverse, Tank::TurnTurret, Tank::Aim, Tank::Acquire}));
    EXPECT_TRUE(shells >= 5 && nearest > 2 && farthest < 67); // about one aim per 1500 ticks
    sprites()->destroyAll();
    EXPECT_EQ(Tank::living(), 0);
}

// A hit turns the tank on its attacker, unless it is already aiming; a hit while paused still ends in a
// shell once play resumes.
TEST_F(Air, HitTanksFireBack) {
    flyingShip(4, 5);
    Tank* t = spawn<Tank>(-3, 7);
    t->z = 20;
    Probe shot(sprites(), KindMyFire1);
    for (Tank::State state : {Tank::Advance, Tank::Reverse, Tank::TurnTurret, Tank::Aim}) {
        std::tie(t->state, t->aimTimer) = std::tuple{state, 6.0f};
        t->collide(&shot);
        EXPECT_TRUE(t->state == (state == Tank::Aim ? Tank::Aim : Tank::Acquire) && t->aimTimer == 6)
            << state;
    }
    std::tie(t->state, engine->frameStep) = std::tuple{Tank::Advance, 0.0f};
    t->collide(&shot);
    moveTimes(t, 10);
    engine->frameStep = 1;
    for (int i = 0; i < 200 && !first<TankFire>(); ++i)
        t->move();
    EXPECT_NE(first<TankFire>(), nullptr);
}

} // namespace
