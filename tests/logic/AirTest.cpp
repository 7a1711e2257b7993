// How the fighters, the raiders and the tanks move, aim and fire.
#include "GameFixture.h"

#include "core/SpriteKind.h"
#include "enemies/Bandit2.h"
#include "enemies/Fighter2.h"
#include "enemies/Ship1.h"
#include "enemies/Tank.h"
#include "models/Models.h"
#include "player/MyShip.h"

#include <cmath>
#include <numbers>
#include <set>

namespace {

using Air = GameTest;

float radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

// Left alone a fighter dives, falls back, dives again, drops a shot at close range and climbs away behind
// the player, at any frame step; it fires at random only before the climb.
TEST_F(Air, FightersFlyTheirProgrammeAndLeave) {
    for (float step : {1.0f, 2.5f, 10.0f}) {
        engine->frameStep = step;
        for (int model = 0; model < 2; ++model) {
            SCOPED_TRACE(testing::Message() << "model " << model << " at step " << step);
            DivingFighter* f = model ? static_cast<DivingFighter*>(spawn<Fighter2>(0.0f, 70.0f, 0.75f, 3))
                                     : spawn<Bandit2>(0.0f, 70.0f, 0.75f, 3);
            std::vector<int> states = {f->state};
            int frames = 0, climbShots = 0;
            while (!f->dead && frames++ < 5000) {
                const int state = f->state, shots = count<DivingFighterFire>();
                f->move();
                climbShots += state == DivingFighter::Climb ? count<DivingFighterFire>() - shots : 0;
                if (states.back() != f->state)
                    states.push_back(f->state);
            }
            EXPECT_EQ(states, (std::vector<int>{0, 1, 2, 3}));
            EXPECT_GE(count<DivingFighterFire>(), 1);
            EXPECT_EQ(climbShots, 0);
            EXPECT_LT(f->z, -3.0f);
            EXPECT_LT(frames, 3000 / step);
            sprites()->destroyAll();
        }
    }
}

// Speeds reach but never pass 0.5 × agility along z and 0.2 × agility across.
TEST_F(Air, FighterSpeedsScaleWithAgility) {
    flyingShip(8, 5);
    engine->frameStep = 10;
    for (float agility : {0.5f, 0.9921875f}) {
        auto* f = spawn<Fighter2>(-6.0f, 70.0f, agility, 3);
        float fastest[2] = {0, 0};
        while (!f->dead) {
            f->move();
            fastest[0] = std::max(fastest[0], std::fabs(f->vz));
            fastest[1] = std::max(fastest[1], std::fabs(f->vx));
        }
        EXPECT_NEAR(fastest[0], 0.5f * agility, 1e-6f) << agility;
        EXPECT_NEAR(fastest[1], 0.2f * agility, 1e-6f) << agility;
    }
}

// A fighter drifts onto the ship's lane; inside its dead zone of ±2 × agility the pulls cancel.
TEST_F(Air, FightersTrackTheShipAcross) {
    flyingShip(6, 5);
    auto* f = spawn<Bandit2>(-6.0f, 70.0f, 0.5f, 3);
    float nearest = 100;
    while (f->state != DivingFighter::Climb) {
        f->move();
        nearest = std::min(nearest, std::fabs(f->x - 6));
    }
    EXPECT_LT(nearest, 1.0f);
    for (float x : {5.01f, 6.99f}) {
        f->x = x;
        f->vx = 0.05f;
        f->state = DivingFighter::FallBack;
        f->z = 20;
        f->move();
        EXPECT_FLOAT_EQ(f->vx, 0.05f) << x;
    }
}

// Bandit2's mesh is scaled to world units (a hundredth); Fighter2's texture is flipped.
TEST_F(Air, FighterMeshesAreFittedToTheGame) {
    const Mesh rawBandit = meshBandit2(), bandit = Bandit2::preparedMesh();
    const Mesh rawFighter = meshFighter2(), fighter = Fighter2::preparedMesh();
    ASSERT_TRUE(bandit.vertexCount() == rawBandit.vertexCount() &&
                fighter.vertexCount() == rawFighter.vertexCount());
    for (int i = 0; i < bandit.vertexCount(); ++i)
        ASSERT_FLOAT_EQ(bandit.vertex(i)[1], rawBandit.vertex(i)[1] / 100.0f) << i;
    for (int i = 0; i < fighter.vertexCount(); ++i)
        ASSERT_TRUE(fighter.vertex(i)[7] == 1.0f - rawFighter.vertex(i)[7] &&
                    std::isfinite(fighter.vertex(i)[0]));
}

// A raider comes in at the far end on its own ellipse, then at z = 25 either circles from angle 180 or
// throws a loop (centred 4.5 high), without a step in the frame it turns.
TEST_F(Air, RaidersComeInAndCircleOrLoop) {
    flyingShip(0, 5);
    std::set<int> outcomes;
    for (int i = 0; i < 50; ++i) {
        Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
        EXPECT_TRUE(r->centreX >= -5 && r->centreX <= 4.9f + 1e-5f && r->radiusX >= 3 &&
                    r->radiusX <= 9.9f + 1e-5f);
        EXPECT_FLOAT_EQ(r->x, r->centreX - r->radiusX);
        float z = r->z;
        while (r->state == Ship1::Approach) {
            z = r->z;
            r->move();
        }
        EXPECT_FLOAT_EQ(r->z, z);
        outcomes.insert(r->state);
        if (r->state == Ship1::Circling) {
            EXPECT_TRUE(r->quarter == 2 && r->angle == 180);
        } else {
            EXPECT_TRUE(r->angle == -90 && r->centreX == 4.5f);
        }
    }
    EXPECT_EQ(outcomes, (std::set<int>{Ship1::Circling, Ship1::Loop}));
}

// The player weaves about while the raiders circle.
void weave(MyShip* ship, int frame, float px, float pz) {
    ship->x = px + 3.0f * std::sin(static_cast<float>(frame) / 70.0f);
    ship->z = pz + 4.0f * std::sin(static_cast<float>(frame) / 45.0f);
}

// Each quarter-turn re-centring puts the player on the rim of the new ellipse's extent along the axis it
// re-centres: x at quarters 0 and 2, z at quarters 1 and 3. So the player stays inside the raider's turn.
TEST_F(Air, RaidersKeepThePlayerInsideTheirTurn) {
    MyShip* ship = flyingShip();
    int checks = 0;
    for (const auto& [px, pz] : {std::pair{0.0f, 6.0f}, {-7.0f, 5.0f}, {8.0f, 20.0f}, {2.0f, 36.0f}}) {
        for (float step : {1.0f, 3.0f, 10.0f}) {
            engine->frameStep = step;
            for (int seed = 0; seed < 10; ++seed) {
                std::srand(seed);
                Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
                for (int f = 0; f < 3000 && !r->dead; ++f) {
                    weave(ship, f, px, pz);
                    const int quarter = r->quarter, state = r->state;
                    r->move();
                    if (state != Ship1::Circling || r->state != Ship1::Circling || quarter == r->quarter)
                        continue;
                    ++checks;
                    if (r->quarter % 2 == 0) {
                        EXPECT_NEAR(std::fabs(ship->x - r->centreX), std::fabs(r->radiusX), 1e-3f);
                    } else {
                        EXPECT_NEAR(std::fabs(ship->z - r->centreZ), r->radiusZ, 1e-3f);
                    }
                    EXPECT_GE(r->radiusZ, 0.0f);
                }
                clearAllButShip();
            }
        }
    }
    EXPECT_GT(checks, 1000);
}

// A raider gives up with one chance in twenty each time round and leaves behind the player; without a
// ship it circles its first ellipse for ever, and a loop ends in leaving.
TEST_F(Air, RaidersLeaveAfterSomeTurns) {
    MyShip* ship = flyingShip();
    int left = 0;
    for (int seed = 0; seed < 20; ++seed) {
        std::srand(seed);
        Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
        bool leaving = false;
        for (int f = 0; f < 20000 && !r->dead; ++f) {
            weave(ship, f, 1, 8);
            r->move();
            leaving |= r->state == Ship1::Leaving;
        }
        left += r->dead && leaving && r->z < -3;
        clearAllButShip();
    }
    EXPECT_GE(left, 18);
    engine->ship = nullptr;
    Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
    r->state = Ship1::Circling;
    r->quarter = 2;
    const float cx = r->centreX, cz = r->centreZ, rx = r->radiusX, rz = r->radiusZ;
    for (int f = 0; f < 2000; ++f) {
        r->move();
        ASSERT_EQ(r->state, Ship1::Circling);
        ASSERT_NEAR(r->x, rx * std::cos(radians(r->angle)) + cx, 1e-3f);
        ASSERT_NEAR(r->z, rz * std::sin(radians(r->angle)) + cz, 1e-3f);
    }
    r->z = 20;
    r->state = Ship1::Loop;
    r->move();
    EXPECT_EQ(r->state, Ship1::Leaving);
    while (!r->dead)
        r->move();
    EXPECT_LT(r->z, -3.0f);
}

// A loop tops out 8.5 high and ends at flying height, where the circling resumes without a jump.
TEST_F(Air, RaidersResumeCirclingWhereTheLoopEnds) {
    for (float px : {-6.0f, 0.0f, 7.0f}) {
        flyingShip(px, 5);
        Ship1* r = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
        r->x = 2;
        while (r->state != Ship1::Loop) { // until the draw picks the loop
            r->z = 24;
            r->state = Ship1::Approach;
            r->move();
        }
        float top = 0;
        while (r->state == Ship1::Loop) {
            r->move();
            top = std::max(top, r->y);
        }
        EXPECT_NEAR(top, 8.5f, 0.05f);
        EXPECT_FLOAT_EQ(r->y, 0.5f);
        const float x = r->x, z = r->z;
        r->move();
        EXPECT_TRUE(std::fabs(r->x - x) < 0.05f && std::fabs(r->z - z) < 0.05f) << px;
        sprites()->destroyAll();
    }
}

// Of two touching raiders only the nearer one loops, and never one already looping or meeting a looper.
TEST_F(Air, TouchingRaidersMakeTheNearerLoop) {
    Ship1* near = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
    Ship1* far = spawn<Ship1>(0.0f, 0.0f, 0.0f, 3);
    near->state = far->state = Ship1::Circling;
    near->z = 10;
    far->z = 11;
    far->collide(near);
    EXPECT_EQ(far->state, Ship1::Circling);
    near->collide(far);
    EXPECT_EQ(near->state, Ship1::Loop);
    EXPECT_FLOAT_EQ(near->centreZ, 10);
    near->angle = 30;
    near->collide(far);
    EXPECT_FLOAT_EQ(near->angle, 30);
    far->z = 9;
    far->collide(near);
    EXPECT_EQ(far->state, Ship1::Circling);
}

// The turret's aim: the barrel points along (−cos θ, sin θ), straight ahead of the player is −90; the
// tank keeps only the angle. Without a ship it gives up and rolls on.
TEST_F(Air, TanksAimAtTheShip) {
    MyShip* ship = flyingShip();
    // clang-format off
    constexpr float aims[][3] = {{0, -10, -90}, {0, 0, -90}, {0, 5, 90}, {-5, 0, 0}, {5, 0, 180}, {-5, -5, -45},
        {5, -5, -135}, {5, 5, 135}};
    // clang-format on
    for (const auto& [dx, dz, angle] : aims) {
        Tank* t = spawn<Tank>(2, 7);
        t->z = 20;
        ship->x = t->x + dx;
        ship->z = t->z + dz;
        t->state = Tank::Acquire;
        t->move();
        EXPECT_EQ(t->state, Tank::TurnTurret);
        EXPECT_NEAR(t->targetAngle, angle, 1e-3f) << dx << ", " << dz;
        EXPECT_EQ(t->target, nullptr);
    }
    engine->ship = nullptr;
    Tank* t = spawn<Tank>(2, 7);
    t->state = Tank::Acquire;
    t->move();
    EXPECT_EQ(t->state, Tank::Advance);
}

// The turret turns 3.5° a tick the short way round, wrapping at ±180, until within 2.5° a tick of its aim.
TEST_F(Air, TurretsTurnTheShortWay) {
    MyShip* ship = flyingShip();
    struct Turn {
        float from, to, step;
        int frames;
    };
    constexpr Turn turns[] = {
        {170, -170, 1, 5}, {-170, 170, 1, 5}, {-90, 0, 1, 25}, {0, -90, 2, 13}, {-90, -89, 1, 0}};
    for (const Turn& turn : turns) {
        SCOPED_TRACE(testing::Message() << turn.from << " -> " << turn.to);
        engine->frameStep = turn.step;
        Tank* t = spawn<Tank>(0, 7);
        t->z = 30;
        ship->x = -10 * std::cos(radians(turn.to));
        ship->z = 30 + 10 * std::sin(radians(turn.to));
        t->turretAngle = turn.from;
        t->state = Tank::Acquire;
        t->move();
        int frames = 0;
        for (float previous = t->turretAngle; t->state == Tank::TurnTurret && frames < 200;
             previous = t->turretAngle) {
            t->move();
            const float moved = std::remainder(t->turretAngle - previous, 360.0f);
            EXPECT_TRUE(std::fabs(t->turretAngle) <= 180);
            if (t->state == Tank::TurnTurret && ++frames) {
                EXPECT_NEAR(std::fabs(moved), 3.5f * turn.step, 1e-3f);
            }
        }
        EXPECT_EQ(t->state, Tank::Aim);
        EXPECT_EQ(frames, turn.frames);
    }
}

// After more than 10 ticks of aim the turret snaps on target and a shell leaves six steps ahead at 1.2 × a
// fifth of the aim per tick; the tank recoils one step, never beyond x = ±11.
TEST_F(Air, TanksRecoilAsTheyFire) {
    // clang-format off
    constexpr float shots[][3] = {{0, -90, 0}, {10.95f, 0, 11}, {-10.95f, 180, -11}, {5, 0, 5.2f}, {-5, 180, -5.2f}};
    // clang-format on
    engine->frameStep = 5;
    for (const auto& [x, angle, xAfter] : shots) {
        SCOPED_TRACE(testing::Message() << x << " at " << angle);
        Tank* t = spawn<Tank>(0, 7);
        t->x = x;
        t->z = 30;
        t->state = Tank::Aim;
        t->targetAngle = angle;
        t->turretAngle = angle + 1;
        t->move();
        t->move();
        EXPECT_EQ(count<TankFire>(), 0);
        t->move();
        EXPECT_TRUE(t->state == Tank::Reverse && t->turretAngle == angle);
        EXPECT_NEAR(t->x, xAfter, 1e-4f);
        const TankFire* shell = first<TankFire>();
        ASSERT_NE(shell, nullptr);
        EXPECT_NEAR(shell->vx, -1.2f * std::cos(radians(angle)) / 5, 1e-5f);
        EXPECT_NEAR(shell->vz, 1.2f * std::sin(radians(angle)) / 5, 1e-5f);
        EXPECT_NEAR(shell->x, t->x - 6 * std::cos(radians(angle)) / 5, 1e-4f);
        EXPECT_TRUE(shell->y == 0.7f && shell->heading == angle);
        sprites()->destroyAll();
    }
}

// With a ship about a tank rolls in, stops short of the player, shuffles, aims and fires, and never leaves;
// the tank count follows the tanks made and deleted.
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
        if (f > 1000) {
            nearest = std::min(nearest, t->z);
            farthest = std::max(farthest, t->z);
        }
    }
    EXPECT_EQ(states,
              (std::set<int>{Tank::Advance, Tank::Reverse, Tank::TurnTurret, Tank::Aim, Tank::Acquire}));
    EXPECT_GE(shells, 5); // about one aim per 1500 ticks: it mostly shuffles
    EXPECT_TRUE(nearest > 2 && farthest < 67);
    sprites()->destroyAll();
    EXPECT_EQ(Tank::living(), 0);
}

// A hit turns the tank on its attacker, unless it is already aiming; one hit while paused still ends in
// a shell once play resumes (a paused frame fixes no turn).
TEST_F(Air, HitTanksFireBack) {
    flyingShip(4, 5);
    Tank* t = spawn<Tank>(-3, 7);
    t->z = 20;
    Probe shot(sprites(), KindMyFire1);
    for (int state : {Tank::Advance, Tank::Reverse, Tank::TurnTurret, Tank::Aim}) {
        t->state = state;
        t->aimTimer = 6;
        t->collide(&shot);
        EXPECT_EQ(t->state, state == Tank::Aim ? Tank::Aim : Tank::Acquire);
        EXPECT_EQ(t->aimTimer, 6);
    }
    t->state = Tank::Advance;
    engine->frameStep = 0;
    t->collide(&shot);
    for (int i = 0; i < 10; ++i)
        t->move();
    engine->frameStep = 1;
    for (int i = 0; i < 200 && !first<TankFire>(); ++i)
        t->move();
    EXPECT_NE(first<TankFire>(), nullptr);
}

} // namespace
