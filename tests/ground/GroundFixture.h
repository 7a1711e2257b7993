#pragma once

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "enemies/Explosion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

// A stand-in for whatever touches a ground object: any kind, a box, and a tally of the points it gets.
class Probe : public Sprite {
public:
    Probe(List* owner, int kind, float x = 0, float y = 0, float z = 0, float size = 1)
        : Sprite(owner, kind, x, y, z) {
        sizeX = sizeY = sizeZ = size;
    }
    void draw() override {}
    void collide(Sprite*) override {}
    void addScore(int p) override { points += p; }

    int points = 0;
};

// A headless Engine at one tick per frame and an empty sprite list, destroyed afterwards.
class GroundTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::srand(1234);
        engine = Engine::createHeadless();
        engine->frameStep = 1.0f;
    }
    void TearDown() override {
        list.destroyAll();
        Engine::discard();
    }

    template <typename T, typename... Args> T* spawn(Args&&... args) {
        T* s = new T(&list, std::forward<Args>(args)...);
        list.add(s);
        return s;
    }

    int countIf(const std::function<bool(Sprite*)>& test) {
        int n = 0;
        for (Elem* e = list.head; e; e = e->next)
            if (test(static_cast<Sprite*>(e)))
                ++n;
        return n;
    }
    template <typename T> int countOf() {
        return countIf([](Sprite* s) { return dynamic_cast<T*>(s) != nullptr; });
    }
    template <typename T> T* lastOf() {
        for (Elem* e = list.tail; e; e = e->prev)
            if (T* s = dynamic_cast<T*>(static_cast<Sprite*>(e)))
                return s;
        return nullptr;
    }

    Engine* engine = nullptr;
    ListSprite list;
};
