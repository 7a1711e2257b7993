#pragma once

// The headless game the logic tests play in, with every sprite of the game at hand.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Random.h"
#include "core/Sprite.h"
#include "core/SpriteKind.h"
#include "core/World.h"
#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/Explosion.h"
#include "enemies/ExplosionJustSmoke.h"
#include "enemies/ExplosionMark.h"
#include "enemies/Fighter2.h"
#include "enemies/PieceOfShip.h"
#include "enemies/Piege.h"
#include "enemies/Scratcher.h"
#include "enemies/Ship1.h"
#include "enemies/SpecialEffect1.h"
#include "enemies/Spirale.h"
#include "enemies/Tache.h"
#include "enemies/TacheBench.h"
#include "enemies/Tank.h"
#include "platform/SdlCompat.h"
#include "player/MyFire1.h"
#include "player/MyFire2.h"
#include "player/MyFire3.h"
#include "player/MyFire4.h"
#include "player/MyFire4Smoke.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

// A stand-in for whatever meets the sprite under test: any kind, any box, and a record of what is done to
// it. It may die on contact, or add a sprite of its kind during its first move.
class Probe : public Sprite {
public:
    Probe(List* owner, int kind, float x = 0, float y = 0.5f, float z = 20, float size = 1);
    ~Probe() override { ++destroyed; }

    void draw() override {}
    void collide(Sprite* other) override;
    void move() override;
    void addScore(int points) override { this->points.push_back(points); }
    void watchedRemoved(Sprite* removed) override { removedNotices.push_back(removed); }

    static inline std::vector<std::pair<Sprite*, Sprite*>> contacts; // every collide() of every probe
    static inline int destroyed = 0;
    std::vector<int> points;
    std::vector<Sprite*> removedNotices;
    int capsuleType = 0, moves = 0;
    bool dieOnContact = false, spawnOnMove = false;
};

// Engine and World without GL or audio, a fake millisecond clock (now), a fixed rand() seed, no held keys
// and fresh fire pacing.
class GameTest : public ::testing::Test {
public:
    static inline Uint32 now = 1000;

protected:
    void SetUp() override;
    void TearDown() override;

    ListSprite* sprites() const { return world->sprites; }
    // A sprite whose constructor takes the play list first, appended.
    template <class T, class... Args> T* spawn(Args&&... args) {
        return add(new T(sprites(), std::forward<Args>(args)...));
    }
    template <class T> T* add(T* sprite) {
        sprites()->add(sprite);
        return sprite;
    }
    template <class T> int count() const {
        int n = 0;
        for (Elem* e = sprites()->head; e; e = e->next)
            n += dynamic_cast<T*>(e) != nullptr;
        return n;
    }
    template <class T> T* first() const {
        for (Elem* e = sprites()->head; e; e = e->next)
            if (auto* s = dynamic_cast<T*>(e))
                return s;
        return nullptr;
    }
    // The Engine's ship, flying at (x, 0.5, z), no longer invulnerable.
    MyShip* flyingShip(float x = 0, float z = 10);
    void hold(int key, bool down = true) { sdlq::getKeyState()[key] = down; }
    void clearAllButShip();
    // The moves a sprite makes on its own until it is dead (the limit when it never dies).
    static int ticksToLive(Sprite* sprite, int limit = 100000);
    // Moves a sprite the given times, held at depth z when one is given (to stay in the field).
    static void moveTimes(Sprite* sprite, int times, float z = NAN);
    // The hit points of an enemy that has them, else null.
    static int* hitPointsOf(Sprite* sprite);

    Engine* engine = nullptr;
    World* world = nullptr;
};
