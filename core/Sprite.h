#pragma once

#include "core/Elem.h"

// Everything that exists in the game world. The core drives sprites only through these virtuals;
// each sprite decides its own collision reactions from the other sprite's kind.
class Sprite : public Elem {
public:
    static constexpr int MaxWatchers = 5;

    Sprite(List* owner, int kind, float x, float y, float z);
    ~Sprite() override;

    virtual void draw() = 0;
    virtual void collide(Sprite* other) = 0;
    virtual void move();
    virtual void drawShadow();
    virtual float getX();
    virtual float getY();
    virtual float getZ();
    virtual void addScore(int points);
    virtual void prepareRemoval();
    virtual void watchedRemoved(Sprite* removed);

    bool addWatcher(Sprite* w);
    void removeWatcher(Sprite* w);

    // Sound at a fixed volume, and one that fades with depth (silent from z = 63 on).
    void playSample(int id, int volume);
    void playSampleAt(int id, int volume);

    Sprite* watchers[MaxWatchers];
    int watcherCount;
    int kind;
    float x, y, z;
    float vx, vy, vz;
    float sizeX, sizeY, sizeZ;
    int dead;
    bool isTarget;
};
