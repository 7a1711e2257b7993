#pragma once

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/SpriteKind.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

// A stand-in for whatever meets the sprite under test: any kind, any box, and a record of what is done to
// it (points given, sprites met, watched sprites removed, its own destruction).
class Probe : public Sprite {
public:
    Probe(List* owner, int kind, float x = 0, float y = 0.5f, float z = 20, float size = 1);
    ~Probe() override;

    void draw() override {}
    void collide(Sprite* other) override;
    void move() override;
    void addScore(int points) override { this->points.push_back(points); }
    void watchedRemoved(Sprite* removed) override { removedNotices.push_back(removed); }

    static inline std::vector<std::pair<Sprite*, Sprite*>> contacts; // every collide() of every probe

    static inline int destroyed = 0;

    std::vector<int> points;
    std::vector<Sprite*> removedNotices;
    int capsuleType = 0;
    int moves = 0;
    bool dieOnContact = false;
    bool spawnOnMove = false;
};

// A headless game: Engine and World without GL or audio, one tick per frame, a fake millisecond clock
// (now), a fixed rand() seed, no held keys and fresh fire pacing.
class GameTest : public ::testing::Test {
public:
    static inline Uint32 now = 1000;

protected:
    void SetUp() override;
    void TearDown() override;

    ListSprite* sprites() const { return world->sprites; }
    // Makes a sprite whose constructor takes the play list first, and appends it.
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
    void hold(int key, bool down = true);
    // Marks every sprite but the Engine's ship dead and removes them.
    void clearAllButShip();
    // One play frame without drawing: move (unless told not to), collide, ship bookkeeping, removal.
    void frame(bool move = true);
    // The game's own play frame without drawing: the play update (moves and waves), then as frame().
    void playFrame();
    // The moves a sprite makes on its own until it is dead (the limit when it never dies).
    static int ticksToLive(Sprite* sprite, int limit = 100000);
    // The hit points of an enemy that has them (fighters, raiders, tanks, cubes, nests), else null.
    static int* hitPointsOf(Sprite* sprite);
    // Moves a sprite on its own the given times, held at depth z when one is given (to stay in the field).
    static void moveTimes(Sprite* sprite, int times, float z = NAN);

    Engine* engine = nullptr;
    World* world = nullptr;
};
