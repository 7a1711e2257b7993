#pragma once

#include "core/Engine.h"
#include "core/List.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// A stand-in for whatever hits an enemy: a sprite of any kind that records the points it is given.
class Probe : public Sprite {
public:
    Probe(List* owner, int kind, float x = 0, float y = 0.5f, float z = 20) : Sprite(owner, kind, x, y, z) {
        sizeX = sizeY = sizeZ = 1;
    }
    void draw() override {}
    void collide(Sprite*) override {}
    void addScore(int p) override { points.push_back(p); }
    std::vector<int> points;
};

inline Uint32 airNow = 1000;
inline Uint32 airTicks() {
    return airNow;
}

// A headless engine and world; the ship, when wanted, lives outside the world's list so that clearing the
// list between frames keeps it.
class AirTest : public ::testing::Test {
protected:
    void SetUp() override {
        airNow = 1000;
        sdlq::setTicksSource(airTicks);
        engine = Engine::createHeadless();
        engine->frameStep = 1;
        world = World::instance();
        sprites = world->sprites;
        std::srand(1);
    }
    void TearDown() override {
        World::discard();
        delete ship;
        Engine::discard();
        sdlq::setTicksSource(nullptr);
    }

    MyShip* addShip(float x = 0, float z = 5) {
        ship = new MyShip(&shipList, 100);
        ship->x = x;
        ship->z = z;
        engine->ship = ship;
        return ship;
    }

    template <class T> int countOf() {
        int n = 0;
        for (Elem* e = sprites->head; e; e = e->next)
            n += dynamic_cast<T*>(e) != nullptr;
        return n;
    }
    int countKind(int kind) {
        int n = 0;
        for (Elem* e = sprites->head; e; e = e->next)
            n += static_cast<Sprite*>(e)->kind == kind;
        return n;
    }
    template <class T> T* firstOf() {
        for (Elem* e = sprites->head; e; e = e->next)
            if (auto* s = dynamic_cast<T*>(e))
                return s;
        return nullptr;
    }

    // One play frame without drawing: move, collide, ship bookkeeping, removal.
    void frame() {
        sprites->moveAll();
        sprites->collideAll();
        if (engine->ship && engine->ship->dead)
            engine->ship = nullptr;
        sprites->removeDead();
    }

    Engine* engine = nullptr;
    World* world = nullptr;
    ListSprite* sprites = nullptr;
    List shipList;
    MyShip* ship = nullptr;
};
