#include "PlayerTestSupport.h"

#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/ExplosionJustSmoke.h"
#include "enemies/ExplosionMark.h"
#include "enemies/PieceOfShip.h"
#include "enemies/SpecialEffect1.h"

namespace {

using EffectsTest = PlayerTest;

template <class T> int ticksToLive(T* sprite, int limit = 100000) {
    int ticks = 0;
    while (!sprite->dead && ticks < limit) {
        sprite->move();
        ticks++;
    }
    return ticks;
}

TEST_F(EffectsTest, ExplosionLifetimeFollowsItsSize) {
    struct LifeCase {
        int size;
        float startRadius;
        int ticks;
    };
    const LifeCase cases[] = {{7, 1, 86}, {2, 0, 29}, {8, 2, 86}, {20, 5, 215}, {1, 0, 15}};
    for (const LifeCase& c : cases) {
        Probe source(&list, KindFighter, 1, 2, 30);
        auto* explosion = new Explosion(&source, c.size, false, false);
        list.add(explosion);
        SCOPED_TRACE(c.size);
        EXPECT_FLOAT_EQ(explosion->radius, c.startRadius);
        EXPECT_FLOAT_EQ(explosion->sizeX, static_cast<float>(c.size));
        EXPECT_FLOAT_EQ(explosion->vz, -0.1f);
        EXPECT_NEAR(ticksToLive(explosion), c.ticks, 1);
        list.destroyAll();
    }
}

TEST_F(EffectsTest, ExplosionShapeAndOverrides) {
    Probe source(&list, KindCube, 1, 2, 30);
    Explosion kept(&source, 7, false, false);
    EXPECT_FLOAT_EQ(kept.x, 1);
    EXPECT_FLOAT_EQ(kept.y, 2);
    EXPECT_FLOAT_EQ(kept.z, 30);
    EXPECT_EQ(kept.kind, KindEffect);
    EXPECT_EQ(kept.sourceKind, KindCube);
    EXPECT_FLOAT_EQ(kept.lobe1 + kept.lobe2, 1.0f);
    EXPECT_FLOAT_EQ(kept.lobe3 + kept.lobe4, 1.0f);
    EXPECT_GE(kept.lobe1, 0.25f);
    EXPECT_LE(kept.lobe1, 0.25f + 9 / 15.0f);
    EXPECT_GE(kept.roll, 0.0f);
    EXPECT_LT(kept.roll, 90.0f);
    EXPECT_GE(kept.smokeVariant, 0);
    EXPECT_LT(kept.smokeVariant, 3);
    Explosion moved(&source, 7, false, false, 98.9f, 99.0f, 0.5f);
    EXPECT_FLOAT_EQ(moved.x, 98.9f);
    EXPECT_FLOAT_EQ(moved.y, 2);
    EXPECT_FLOAT_EQ(moved.z, 0.5f);
}

struct DebrisCase {
    int details, size;
    bool withDebris;
    int marks, particles;
};

TEST_F(EffectsTest, MarksAndDebrisByDetailLevel) {
    const DebrisCase cases[] = {
        {0, 7, true, 0, 14},  {1, 7, true, 1, 28},   {2, 7, true, 1, 35}, {2, 2, false, 0, -1},
        {0, 2, false, 0, -1}, {2, 20, true, 1, 100}, {1, 4, true, 1, 16},
    };
    for (const DebrisCase& c : cases) {
        engine->details = c.details;
        Probe source(&list, KindShip1, 0, 1, 30);
        list.add(new Explosion(&source, c.size, false, c.withDebris));
        SCOPED_TRACE(c.details * 100 + c.size);
        EXPECT_EQ(countOf<ExplosionMark>(list), c.marks);
        if (c.particles < 0) {
            EXPECT_EQ(countOf<PieceOfShip>(list), 0);
        } else {
            ASSERT_EQ(countOf<PieceOfShip>(list), 1);
            EXPECT_EQ(firstOf<PieceOfShip>(list)->count, c.particles);
            EXPECT_EQ(firstOf<PieceOfShip>(list)->sourceKind, KindShip1);
        }
        list.destroyAll();
    }
}

TEST_F(EffectsTest, MarkDriftsWithTheFloorUntilBehindThePlayer) {
    Probe source(&list, KindCube, 0, 3, 10);
    Explosion explosion(&source, 8, false, false);
    ExplosionMark mark(&explosion, 8);
    EXPECT_FLOAT_EQ(mark.halfWidth, 2.0f);
    EXPECT_FLOAT_EQ(mark.y, 0.005f);
    EXPECT_NEAR(ticksToLive(&mark), 130, 1);
    EXPECT_LT(mark.z, -3.0f);
}

TEST_F(EffectsTest, SmokePuffGrowsInPlace) {
    Probe source(&list, KindScratcher, 0, 1, 10);
    ExplosionJustSmoke puff(&source, 1.0f);
    EXPECT_FLOAT_EQ(puff.radius, 0.25f);
    EXPECT_NEAR(ticksToLive(&puff), 15, 1);
    EXPECT_FLOAT_EQ(puff.z, 10.0f);
}

class DebrisTest : public PlayerTest {
protected:
    PieceOfShip* group(int count, int kind = KindShip1) {
        Probe source(&list, kind, 0, 1, 30);
        Explosion explosion(&source, 1, false, false);
        auto* pieces = new PieceOfShip(&explosion, count);
        list.add(pieces);
        return pieces;
    }
    // A single debris piece at the given height and vertical speed.
    PieceOfShip* piece(float x, float y, float vy) {
        PieceOfShip* g = group(1);
        PieceOfShip::Particle& p = g->particles[0];
        p.sort = 1;
        p.x = x;
        p.y = y;
        p.vx = p.vz = 0;
        p.vy = vy;
        return g;
    }
};

TEST_F(DebrisTest, AnEmptyGroupEndsAtOnce) {
    PieceOfShip* g = group(0);
    g->move();
    EXPECT_TRUE(g->dead);
}

TEST_F(DebrisTest, StartingVelocities) {
    PieceOfShip* g = group(300);
    int sparks = 0;
    for (const PieceOfShip::Particle& p : g->particles) {
        EXPECT_EQ(p.phase, PieceOfShip::Flying);
        EXPECT_FLOAT_EQ(p.life, 1.0f);
        EXPECT_GE(p.width, 0.025f);
        EXPECT_LT(p.width, 0.125f);
        EXPECT_GE(p.triangle, 0);
        EXPECT_LT(p.triangle, 100);
        if (p.sort == 0) {
            sparks++;
            EXPECT_EQ(p.vy, 0.0f);
            EXPECT_NEAR(std::hypot(p.vx, p.vz + 0.1f), 0.1f, 1e-5);
        } else {
            EXPECT_GE(p.vy, 0.0f);
            EXPECT_LE(std::fabs(p.vx), 0.2f);
        }
    }
    EXPECT_GT(sparks, 50);
    EXPECT_LT(sparks, 150);
}

TEST_F(DebrisTest, BouncesWhenFastRestsWhenSlow) {
    PieceOfShip* fast = piece(0, 0.05f, -0.094f);
    fast->move();
    EXPECT_NEAR(fast->particles[0].y, 0.05f, 1e-5);
    EXPECT_NEAR(fast->particles[0].vy, 0.05f, 1e-5);
    EXPECT_EQ(fast->particles[0].phase, PieceOfShip::Flying);

    PieceOfShip* slow = piece(0, 0.01f, -0.044f);
    slow->move();
    EXPECT_EQ(slow->particles[0].y, 0.0f);
    EXPECT_EQ(slow->particles[0].phase, PieceOfShip::Resting);
    // Then it drifts with the floor and sinks for 150 ticks.
    const int ticks = ticksToLive(slow);
    EXPECT_NEAR(ticks, 150, 1);
    EXPECT_EQ(slow->remaining, 0);
}

TEST_F(DebrisTest, APieceBesideTheFloorFallsAway) {
    PieceOfShip* g = piece(12, 0.05f, -0.094f);
    int ticks = 0;
    while (!g->dead && ticks < 1000) {
        g->move();
        ticks++;
        if (!g->dead) {
            EXPECT_EQ(g->particles[0].phase, PieceOfShip::Flying);
        }
    }
    EXPECT_TRUE(g->dead);
    EXPECT_LT(g->particles[0].y, -40.0f);
}

TEST_F(DebrisTest, SparksLiveFiftyTicksAndFadeInAndOut) {
    PieceOfShip* g = group(1);
    g->particles[0].sort = 0;
    EXPECT_NEAR(ticksToLive(g), 50, 1);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(1.0f), 0.0f);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(0.875f), 0.5f);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(0.75f), 1.0f);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(0.6f), 1.0f);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(0.5f), 1.0f);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(0.25f), 0.5f);
    EXPECT_FLOAT_EQ(PieceOfShip::sparkAlpha(0.0f), 0.0f);
}

TEST_F(DebrisTest, AWholeGroupEndsWhenItsLastParticleHas) {
    PieceOfShip* g = group(40);
    const int ticks = ticksToLive(g, 5000);
    EXPECT_TRUE(g->dead);
    EXPECT_LT(ticks, 5000);
    for (const PieceOfShip::Particle& p : g->particles)
        EXPECT_EQ(p.phase, PieceOfShip::Finished);
}

struct BeamCase {
    int type, weaponLevel, details;
    int beams;
    float scale;
};

TEST_F(EffectsTest, PickUpBeamsByCapsuleLevelAndDetail) {
    const BeamCase cases[] = {
        {0, 0, 0, 3, 0.9f},  {0, 0, 2, 9, 0.9f},  {1, 0, 1, 4, 0.9f},  {2, 4, 0, 6, 2.0f},
        {2, 4, 1, 10, 2.0f}, {2, 4, 2, 20, 2.0f}, {3, 0, 2, 12, 1.2f}, {3, 1, 0, 4, 1.3f},
    };
    for (const BeamCase& c : cases) {
        engine->details = c.details;
        MyShip* ship = flyingShip();
        ship->weaponLevel = c.weaponLevel;
        auto* effect = new SpecialEffect1(ship, c.type);
        list.add(effect);
        SCOPED_TRACE(c.type * 100 + c.weaponLevel * 10 + c.details);
        EXPECT_EQ(effect->count, c.beams);
        float longest = 0;
        for (int i = 0; i < effect->count; ++i) {
            EXPECT_GE(effect->lifetime[i], 20 * c.scale - 1e-4f);
            EXPECT_LE(effect->lifetime[i], (999 / 12.0f + 20) * c.scale + 1e-3f);
            EXPECT_FLOAT_EQ(effect->offsetZ[i], 1 - 2.0f * i / c.beams);
            EXPECT_GE(effect->offsetX[i], -1.0f);
            EXPECT_LT(effect->offsetX[i], 1.0f);
            longest = std::max(longest, effect->lifetime[i]);
        }
        EXPECT_FLOAT_EQ(effect->duration, longest);
        EXPECT_NEAR(ticksToLive(effect), std::floor(longest) + 1, 1);
        list.destroyAll();
        engine->ship = nullptr;
    }
}

TEST_F(EffectsTest, PickUpEffectsFollowTheShipAndLetGoWhenItGoes) {
    MyShip* ship = flyingShip();
    SpecialEffect1* effects[6];
    for (SpecialEffect1*& e : effects) {
        e = new SpecialEffect1(ship, 1);
        list.add(e);
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(effects[i]->host, ship);
    EXPECT_EQ(effects[5]->host, nullptr); // no free watcher slot
    EXPECT_EQ(ship->watcherCount, 5);

    // An effect that runs out first detaches itself.
    effects[0]->dead = 1;
    list.removeDead();
    EXPECT_EQ(ship->watcherCount, 4);

    // The ship goes: its attached effects are told first, marked dead and removed in the same pass
    // (they come after it in the list); the one without a host runs on.
    ship->dead = 1;
    engine->ship = nullptr;
    list.removeDead();
    ASSERT_EQ(countOf<SpecialEffect1>(list), 1);
    EXPECT_EQ(firstOf<SpecialEffect1>(list), effects[5]);
    EXPECT_FALSE(effects[5]->dead);
}

TEST_F(EffectsTest, ASixthCapsuleStillWorksWithoutItsBeams) {
    MyShip* ship = flyingShip();
    for (int i = 0; i < 6; ++i) {
        auto* capsule = new Probe(&list, KindDiamond, 0, 0.5f, 10);
        capsule->capsuleType = 1;
        list.add(capsule);
        ship->collide(capsule);
    }
    EXPECT_EQ(ship->bombs, 11);
    EXPECT_EQ(countOf<SpecialEffect1>(list), 6);
    EXPECT_EQ(ship->watcherCount, 5);
}

} // namespace
