#pragma once

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>

// A stand-in for any other sprite of a given kind: enemies, shots, capsules.
class Probe : public Sprite {
public:
    Probe(List* owner, int kind, float x, float y, float z, float size = 1.0f, bool target = false)
        : Sprite(owner, kind, x, y, z) {
        sizeX = sizeY = sizeZ = size;
        isTarget = target;
    }
    void draw() override {}
    void collide(Sprite*) override { collisions++; }

    int collisions = 0;
    int capsuleType = 0;
};

// The fake millisecond clock of the tests.
inline Uint32 fakeTicks = 1;
inline Uint32 readFakeTicks() {
    return fakeTicks;
}

template <class T> int countOf(ListSprite& list) {
    int n = 0;
    for (Elem* e = list.head; e; e = e->next)
        if (dynamic_cast<T*>(static_cast<Sprite*>(e)))
            n++;
    return n;
}

template <class T> T* firstOf(ListSprite& list) {
    for (Elem* e = list.head; e; e = e->next)
        if (auto* s = dynamic_cast<T*>(static_cast<Sprite*>(e)))
            return s;
    return nullptr;
}

// A headless Engine at one tick per frame, an empty list, no held keys, a fake clock and fresh fire pacing.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = Engine::createHeadless();
        engine->frameStep = 1.0f;
        std::srand(7);
        fakeTicks = 1;
        sdlq::setTicksSource(readFakeTicks);
        sdlq::releaseAllKeys();
        MyShip::lastShotTime = 0;
        MyShip::fireHeldSince = 0;
        MyShip::lastBombTime = 0;
        MyShip::setJoystickApi(nullptr);
        MyShip::capsuleTypeOf = [](Sprite* s) { return static_cast<Probe*>(s)->capsuleType; };
    }
    void TearDown() override {
        list.destroyAll();
        sdlq::releaseAllKeys();
        sdlq::setTicksSource(nullptr);
        Engine::discard();
    }

    // A ship already flying in the middle of the field, past its bubble.
    MyShip* flyingShip(bool vulnerable = true) {
        auto* ship = new MyShip(&list, 100);
        list.add(ship);
        engine->ship = ship;
        ship->shipState = MyShip::Flying;
        ship->z = 10;
        if (vulnerable)
            ship->invulnerable = 0;
        return ship;
    }

    void hold(int key, bool down = true) { sdlq::getKeyState()[key] = down ? 1 : 0; }

    // One frame's logic, as the play frame runs it.
    void frame() {
        list.moveAll();
        list.collideAll();
        if (engine->ship && engine->ship->dead)
            engine->ship = nullptr;
        list.removeDead();
    }

    Engine* engine = nullptr;
    ListSprite list;
};
