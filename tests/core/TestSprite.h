#pragma once

#include "core/List.h"
#include "core/Sprite.h"

#include <vector>

// A sprite that records what the passes do to it.
class TestSprite : public Sprite {
public:
    TestSprite(List* owner, int kind, float x, float y, float z, float size, std::vector<int>* log = nullptr,
               int id = 0)
        : Sprite(owner, kind, x, y, z), log(log), id(id) {
        sizeX = sizeY = sizeZ = size;
    }
    ~TestSprite() override {
        if (destroyed)
            ++*destroyed;
    }

    void draw() override {}
    void collide(Sprite* other) override {
        collided.push_back(other);
        if (log)
            log->push_back(id);
        if (killOnCollide)
            dead = 1;
    }
    void move() override {
        ++moves;
        Sprite::move();
        if (spawnOnMove) {
            spawnOnMove = false;
            auto* child = new TestSprite(owner, kind, x, y, z, 0);
            child->moves = 0;
            spawned = child;
            owner->add(child);
        }
    }
    void watchedRemoved(Sprite* removed) override { removedNotices.push_back(removed); }

    std::vector<int>* log;
    int id;
    int* destroyed = nullptr;
    int moves = 0;
    bool killOnCollide = false;
    bool spawnOnMove = false;
    TestSprite* spawned = nullptr;
    std::vector<Sprite*> collided;
    std::vector<Sprite*> removedNotices;
};
