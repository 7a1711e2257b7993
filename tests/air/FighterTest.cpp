#include "AirFixture.h"

#include "core/SpriteKind.h"
#include "enemies/Bandit2.h"
#include "enemies/Explosion.h"
#include "enemies/Fighter2.h"
#include "models/Models.h"

#include <cmath>
#include <memory>
#include <set>

namespace {

using Fighters = AirTest;

template <class F> F* addFighter(ListSprite* list, float x = 0, float agility = 0.75f, int hitPoints = 3) {
    auto* f = new F(list, x, 70.0f, agility, hitPoints);
    list->add(f);
    return f;
}

// Flies one fighter through its whole life, noting the states it passes and the shots in each.
struct Life {
    std::vector<int> states;
    int frames = 0;
    int shotsInClimb = 0;
    int shots = 0;
    float lastZ = 0;
    bool removed = false;
};

template <class F, class Shot> Life flyLife(ListSprite* list) {
    F* f = addFighter<F>(list);
    Life life;
    int shotsBefore = 0;
    for (; life.frames < 5000; ++life.frames) {
        const int stateBefore = f->state;
        life.lastZ = f->z;
        list->moveAll();
        int shots = 0;
        for (Elem* e = list->head; e; e = e->next)
            shots += dynamic_cast<Shot*>(e) != nullptr;
        if (stateBefore == DivingFighter::Climb && shots > shotsBefore)
            life.shotsInClimb += shots - shotsBefore;
        life.shots += shots - shotsBefore;
        if (life.states.empty() || life.states.back() != f->state)
            life.states.push_back(f->state);
        const bool leaving = f->dead;
        if (leaving)
            life.lastZ = f->z;
        list->removeDead();
        shotsBefore = 0;
        for (Elem* e = list->head; e; e = e->next)
            shotsBefore += dynamic_cast<Shot*>(e) != nullptr;
        if (leaving) {
            life.removed = true;
            break;
        }
    }
    return life;
}

TEST_F(Fighters, WithoutMeetingAnyoneTheyLeaveBehindThePlayer) {
    for (float step : {1.0f, 2.5f, 10.0f}) {
        SCOPED_TRACE(step);
        engine->frameStep = step;
        for (int kind = 0; kind < 2; ++kind) {
            const Life life =
                kind == 0 ? flyLife<Bandit2, Bandit2Fire>(sprites) : flyLife<Fighter2, Fighter2Fire>(sprites);
            EXPECT_TRUE(life.removed);
            EXPECT_LT(life.lastZ, -3.0f);
            EXPECT_EQ(life.states, (std::vector<int>{0, 1, 2, 3}));
            EXPECT_GE(life.shots, 1);        // at least the one dropped at close range
            EXPECT_EQ(life.shotsInClimb, 0); // no random fire while climbing away
            EXPECT_LT(life.frames, 3000 / step);
            sprites->destroyAll();
        }
    }
}

TEST_F(Fighters, SizesHeightsAndShots) {
    Bandit2* b = addFighter<Bandit2>(sprites, 1.5f);
    Fighter2* f = addFighter<Fighter2>(sprites, -2.0f);
    EXPECT_EQ(b->kind, KindFighter);
    EXPECT_EQ(f->kind, KindFighter);
    EXPECT_FLOAT_EQ(b->y, 0.5f);
    EXPECT_FLOAT_EQ(f->y, 0.7f);
    EXPECT_FLOAT_EQ(b->sizeX, 1.2f);
    EXPECT_FLOAT_EQ(b->sizeZ, 1.8f);
    EXPECT_FLOAT_EQ(f->sizeX, 2.0f);
    EXPECT_FLOAT_EQ(f->sizeZ, 2.0f);
    EXPECT_TRUE(b->isTarget);
    Bandit2Fire shot(sprites, 1, 2, 3);
    EXPECT_EQ(shot.kind, KindFighterFire);
    EXPECT_FLOAT_EQ(shot.vz, -0.5f);
    EXPECT_FLOAT_EQ(shot.sizeX, 0.2f);
}

// Speeds stay within ±0.5 × agility along z and ±0.2 × agility across, in every state.
TEST_F(Fighters, SpeedLimitsScaleWithAgility) {
    addShip(8.0f, 5.0f);
    for (float agility : {0.5f, 0.9921875f}) {
        auto* f = addFighter<Fighter2>(sprites, -6.0f, agility);
        engine->frameStep = 10;
        while (!f->dead) {
            sprites->moveAll();
            EXPECT_LE(std::fabs(f->vz), 0.5f * agility + 1e-6f);
            EXPECT_LE(std::fabs(f->vx), 0.2f * agility + 1e-6f);
        }
        sprites->destroyAll();
    }
}

// With a ship, a fighter drifts onto the ship's lane; inside its dead zone of ±2 × agility the pulls cancel.
TEST_F(Fighters, TrackTheShipAcross) {
    addShip(6.0f, 5.0f);
    auto* f = addFighter<Bandit2>(sprites, -6.0f, 0.5f);
    float nearest = 100;
    while (f->state != DivingFighter::Climb) {
        sprites->moveAll();
        nearest = std::fmin(nearest, std::fabs(f->x - 6.0f));
    }
    EXPECT_LT(nearest, 1.0f);
    f->x = 5.5f;
    f->vx = 0.05f;
    f->state = DivingFighter::FallBack;
    f->z = 20;
    f->vz = 0;
    engine->frameStep = 1;
    f->move();
    EXPECT_FLOAT_EQ(f->vx, 0.05f);
}

// Damage by the other's kind: rams and MyFire2 destroy at once, shots and stars take one point.
struct Hit {
    int kind;
    int hits;
    bool destroyed;
    int hitPointsAfter;
};
constexpr Hit FighterHits[] = {
    {KindMyShip, 1, true, -1}, {KindMyFire2, 1, true, -1},  {KindMyFire1, 2, false, 1},
    {KindMyFire1, 3, true, 0}, {KindSpirale, 3, true, 0},   {KindMyFire4, 5, false, 3},
    {KindCube, 1, false, 3},   {KindTankFire, 1, false, 3}, {KindEffect, 1, false, 3},
};

TEST_F(Fighters, CollisionTable) {
    for (const Hit& h : FighterHits) {
        for (int model = 0; model < 2; ++model) {
            SCOPED_TRACE(testing::Message() << "kind " << h.kind << " x" << h.hits << " model " << model);
            DivingFighter* f = model == 0 ? static_cast<DivingFighter*>(addFighter<Bandit2>(sprites))
                                          : addFighter<Fighter2>(sprites);
            Probe other(sprites, h.kind);
            for (int i = 0; i < h.hits; ++i)
                f->collide(&other);
            EXPECT_EQ(f->dead != 0, h.destroyed);
            EXPECT_EQ(f->hitPoints, h.hitPointsAfter);
            EXPECT_EQ(countOf<Explosion>(), h.destroyed ? 1 : 0);
            EXPECT_EQ(other.points, h.destroyed ? std::vector<int>{100} : std::vector<int>{});
            sprites->destroyAll();
        }
    }
}

// Two shots destroying the same fighter in one frame: one explosion, 100 points once.
TEST_F(Fighters, PointsOnlyOnce) {
    auto* f = addFighter<Fighter2>(sprites, 0, 0.75f, 1);
    Probe a(sprites, KindMyFire1), b(sprites, KindMyFire2);
    f->collide(&a);
    f->collide(&b);
    f->collide(&a);
    EXPECT_EQ(countOf<Explosion>(), 1);
    EXPECT_EQ(a.points, std::vector<int>{100});
    EXPECT_TRUE(b.points.empty());
}

TEST_F(Fighters, OverlappingFightersPushApart) {
    auto* a = addFighter<Bandit2>(sprites, 0.5f);
    auto* b = addFighter<Fighter2>(sprites, 0.0f);
    a->z = 30;
    b->z = 31;
    a->collide(b);
    b->collide(a);
    EXPECT_FLOAT_EQ(a->vx, 0.04f);
    EXPECT_FLOAT_EQ(a->vz, -0.04f);
    EXPECT_FLOAT_EQ(b->vx, -0.04f);
    EXPECT_FLOAT_EQ(b->vz, 0.04f);
}

// The shot: explodes on the ship, player shots and cubes; ignores the rest; gone past z = 0.
TEST_F(Fighters, ShotReactsAndExpires) {
    const std::set<int> hits = {KindMyShip, KindMyFire1, KindMyFire2, KindCube};
    for (int kind = 1; kind <= 22; ++kind) {
        SCOPED_TRACE(kind);
        auto* shot = new Fighter2Fire(sprites, 0, 0.5f, 10);
        sprites->add(shot);
        Probe other(sprites, kind);
        shot->collide(&other);
        EXPECT_EQ(shot->dead != 0, hits.count(kind) == 1);
        EXPECT_EQ(countOf<Explosion>(), hits.count(kind) == 1 ? 1 : 0);
        sprites->destroyAll();
    }
    auto* shot = new Bandit2Fire(sprites, 0, 0.5f, 1);
    sprites->add(shot);
    engine->frameStep = 1;
    shot->move();
    EXPECT_FALSE(shot->dead);
    shot->move();
    shot->move();
    EXPECT_TRUE(shot->dead);
}

bool finite(const Mesh& m) {
    for (float v : m.data)
        if (!std::isfinite(v))
            return false;
    return true;
}

// Bandit2's mesh is scaled to world units; Fighter2's texture is flipped.
TEST_F(Fighters, MeshFixUps) {
    ASSERT_TRUE(finite(meshBandit2())) << "the raw Bandit2 mesh holds NaN or infinite values";
    ASSERT_TRUE(finite(meshFighter2())) << "the raw Fighter2 mesh holds NaN or infinite values";
    const Mesh rawB = meshBandit2();
    const Mesh b = Bandit2::preparedMesh();
    ASSERT_EQ(b.vertexCount(), rawB.vertexCount());
    for (int i = 0; i < b.vertexCount(); ++i)
        for (int a = 0; a < 3; ++a)
            ASSERT_FLOAT_EQ(b.vertex(i)[a], rawB.vertex(i)[a] / 100.0f);
    const Mesh rawF = meshFighter2();
    const Mesh f = Fighter2::preparedMesh();
    ASSERT_EQ(f.vertexCount(), rawF.vertexCount());
    for (int i = 0; i < f.vertexCount(); ++i) {
        ASSERT_FLOAT_EQ(f.vertex(i)[7], 1.0f - rawF.vertex(i)[7]);
        ASSERT_FLOAT_EQ(f.vertex(i)[0], rawF.vertex(i)[0]);
    }
}

} // namespace
