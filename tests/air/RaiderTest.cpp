#include "AirFixture.h"

#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/Ship1.h"

#include <cmath>
#include <numbers>
#include <set>

namespace {

using Raiders = AirTest;

Ship1* addRaider(ListSprite* list, int hitPoints = 3) {
    auto* r = new Ship1(list, 0, 70, 0.75f, hitPoints);
    list->add(r);
    return r;
}

float cosd(float a) {
    return std::cos(a * std::numbers::pi_v<float> / 180.0f);
}
float sind(float a) {
    return std::sin(a * std::numbers::pi_v<float> / 180.0f);
}

TEST_F(Raiders, StartOnTheirEllipse) {
    for (int i = 0; i < 50; ++i) {
        Ship1* r = addRaider(sprites);
        EXPECT_FLOAT_EQ(r->z, 70);
        EXPECT_FLOAT_EQ(r->y, 0.5f);
        EXPECT_GE(r->centreX, -5.0f);
        EXPECT_LE(r->centreX, 4.9f + 1e-5f);
        EXPECT_GE(r->radiusX, 3.0f);
        EXPECT_LE(r->radiusX, 9.9f + 1e-5f);
        EXPECT_FLOAT_EQ(r->x, r->centreX - r->radiusX);
        EXPECT_EQ(r->state, Ship1::Approach);
        EXPECT_TRUE(r->isTarget);
    }
}

// On passing z = 25 a raider either starts circling at angle 180 or throws a loop, without a step that frame.
TEST_F(Raiders, ApproachEndsInACircleOrALoop) {
    addShip(0, 5);
    std::set<int> outcomes;
    for (int i = 0; i < 40; ++i) {
        Ship1* r = addRaider(sprites);
        while (r->state == Ship1::Approach) {
            const float z = r->z;
            r->move();
            if (r->state != Ship1::Approach) {
                EXPECT_FLOAT_EQ(r->z, z);
            }
        }
        outcomes.insert(r->state);
        if (r->state == Ship1::Circling) {
            EXPECT_EQ(r->quarter, 2);
            EXPECT_FLOAT_EQ(r->angle, 180);
        } else {
            EXPECT_FLOAT_EQ(r->angle, -90);
            EXPECT_FLOAT_EQ(r->centreX, 4.5f);
        }
        sprites->destroyAll();
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
TEST_F(Raiders, RecentringKeepsThePlayerInside) {
    struct Place {
        float px, pz;
    };
    int checks = 0;
    addShip();
    for (const Place p : {Place{0, 6}, Place{-7, 5}, Place{8, 20}, Place{2, 36}}) {
        for (float step : {1.0f, 3.0f, 10.0f}) {
            engine->frameStep = step;
            for (int seed = 0; seed < 10; ++seed) {
                std::srand(seed);
                Ship1* r = addRaider(sprites);
                for (int f = 0; f < 3000 && !r->dead; ++f) {
                    weave(ship, f, p.px, p.pz);
                    const int quarter = r->quarter;
                    const int state = r->state;
                    r->move();
                    if (state != Ship1::Circling || r->state != Ship1::Circling || quarter == r->quarter)
                        continue;
                    ++checks;
                    if (r->quarter == 0 || r->quarter == 2) {
                        EXPECT_NEAR(std::fabs(ship->x - r->centreX), std::fabs(r->radiusX), 1e-3f);
                    } else {
                        EXPECT_NEAR(std::fabs(ship->z - r->centreZ), r->radiusZ, 1e-3f);
                    }
                    EXPECT_GE(r->radiusZ, 0.0f);
                }
                sprites->destroyAll();
            }
        }
    }
    EXPECT_GT(checks, 1000);
}

// A raider gives up with one chance in twenty each time round and leaves behind the player.
TEST_F(Raiders, LeaveAfterSomeTurns) {
    addShip();
    int left = 0;
    for (int seed = 0; seed < 20; ++seed) {
        std::srand(seed);
        Ship1* r = addRaider(sprites);
        bool sawLeaving = false;
        for (int f = 0; f < 20000 && !r->dead; ++f) {
            weave(ship, f, 1, 8);
            r->move();
            sawLeaving |= r->state == Ship1::Leaving;
        }
        if (r->dead) {
            ++left;
            EXPECT_TRUE(sawLeaving);
            EXPECT_LT(r->z, -3.0f);
        }
        sprites->destroyAll();
    }
    EXPECT_GE(left, 18);
}

TEST_F(Raiders, WithoutAShipTheyCircleTheirFirstEllipse) {
    Ship1* r = addRaider(sprites);
    r->state = Ship1::Circling;
    r->quarter = 2;
    const float cx = r->centreX, cz = r->centreZ, rx = r->radiusX, rz = r->radiusZ;
    for (int f = 0; f < 2000; ++f) {
        r->move();
        ASSERT_EQ(r->state, Ship1::Circling);
        EXPECT_NEAR(r->x, rx * cosd(r->angle) + cx, 1e-3f);
        EXPECT_NEAR(r->z, rz * sind(r->angle) + cz, 1e-3f);
    }
    EXPECT_FLOAT_EQ(r->centreX, cx);
    EXPECT_FLOAT_EQ(r->radiusZ, rz);

    Ship1* looping = addRaider(sprites);
    looping->z = 20;
    looping->state = Ship1::Loop;
    looping->angle = 0;
    looping->move();
    EXPECT_EQ(looping->state, Ship1::Leaving);
    while (!looping->dead)
        looping->move();
    EXPECT_LT(looping->z, -3.0f);
}

// After a loop the raider circles on from the spot where the loop ended.
TEST_F(Raiders, LoopEndsWhereCirclingResumes) {
    for (float px : {-6.0f, 0.0f, 7.0f}) {
        addShip(px, 5);
        Ship1* r = addRaider(sprites);
        r->z = 24;
        r->x = 2;
        r->state = Ship1::Approach;
        while (r->state != Ship1::Loop) { // force the loop branch
            r->z = 24;
            r->state = Ship1::Approach;
            r->move();
        }
        float topY = 0;
        while (r->state == Ship1::Loop) {
            r->move();
            topY = std::fmax(topY, r->y);
        }
        EXPECT_NEAR(topY, 8.5f, 0.05f);
        const float x = r->x, z = r->z;
        EXPECT_FLOAT_EQ(r->y, 0.5f);
        r->move();
        EXPECT_NEAR(r->x, x, 0.05f);
        EXPECT_NEAR(r->z, z, 0.05f);
        sprites->destroyAll();
        delete ship;
        ship = nullptr;
    }
}

struct Hit {
    int kind;
    int hits;
    bool destroyed;
    int hitPointsAfter;
};
constexpr Hit RaiderHits[] = {
    {KindMyShip, 1, true, -1}, {KindMyFire2, 1, true, -1}, {KindMyFire1, 2, false, 1},
    {KindMyFire1, 3, true, 0}, {KindSpirale, 3, true, 0},  {KindMyFire4, 4, false, 3},
    {KindCube, 1, false, 3},   {KindTank, 1, false, 3},
};

TEST_F(Raiders, CollisionTable) {
    for (const Hit& h : RaiderHits) {
        SCOPED_TRACE(testing::Message() << "kind " << h.kind << " x" << h.hits);
        Ship1* r = addRaider(sprites);
        Probe other(sprites, h.kind);
        // A destroyed raider is hit once more: it neither explodes nor scores again.
        for (int i = 0; i < h.hits + (h.destroyed ? 1 : 0); ++i)
            r->collide(&other);
        EXPECT_EQ(r->dead != 0, h.destroyed);
        if (h.destroyed) {
            EXPECT_EQ(countOf<Explosion>(), 1);
            EXPECT_EQ(other.points, std::vector<int>{250});
        } else {
            EXPECT_EQ(countOf<Explosion>(), 0);
            EXPECT_TRUE(other.points.empty());
        }
        sprites->destroyAll();
    }
    Ship1* r = addRaider(sprites);
    Probe shot(sprites, KindMyFire1);
    for (int i = 0; i < 3; ++i)
        r->collide(&shot);
    EXPECT_EQ(r->hitPoints, 0);
    EXPECT_TRUE(r->dead);
}

// Of two touching raiders only the nearer one loops, and never one already looping.
TEST_F(Raiders, TouchingRaidersMakeTheNearerLoop) {
    Ship1* near = addRaider(sprites);
    Ship1* far = addRaider(sprites);
    near->state = Ship1::Circling;
    far->state = Ship1::Circling;
    near->z = 10;
    far->z = 11;
    far->collide(near);
    EXPECT_EQ(far->state, Ship1::Circling);
    near->collide(far);
    EXPECT_EQ(near->state, Ship1::Loop);
    EXPECT_FLOAT_EQ(near->centreZ, 10);
    near->angle = 30;
    near->collide(far); // already looping: nothing changes
    EXPECT_FLOAT_EQ(near->angle, 30);
    far->z = 9;
    far->collide(near); // the other loops: no loop
    EXPECT_EQ(far->state, Ship1::Circling);
}

TEST_F(Raiders, ShotSpinsAndExpires) {
    auto* shot = new Ship1Fire(sprites, 0, 0.5f, 3);
    sprites->add(shot);
    EXPECT_EQ(shot->kind, KindShip1Fire);
    EXPECT_FLOAT_EQ(shot->vz, -0.27f);
    engine->frameStep = 10;
    float lastSpin = 0;
    int frames = 0;
    while (!shot->dead) {
        shot->move();
        ++frames;
        EXPECT_LE(shot->spin, 360.0f);
        EXPECT_GT(shot->spin, 0.0f);
        lastSpin = shot->spin;
    }
    EXPECT_LT(shot->z, 0);
    EXPECT_EQ(frames, 2);
    (void)lastSpin;
    const std::set<int> hits = {KindMyShip, KindMyFire1, KindMyFire2};
    for (int kind = 1; kind <= 22; ++kind) {
        SCOPED_TRACE(kind);
        auto* s = new Ship1Fire(sprites, 0, 0.5f, 10);
        sprites->add(s);
        Probe other(sprites, kind);
        s->collide(&other);
        EXPECT_EQ(s->dead != 0, hits.count(kind) == 1);
        sprites->destroyAll();
    }
}

} // namespace
