#pragma once

#include "core/Sprite.h"

// The ground missile: a turning orange spark that leaves a smoke trail.
class MyFire4 : public Sprite {
public:
    // Also makes its smoke trail and appends it to its own list.
    MyFire4(Sprite* ship, float vx, float vz);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;
    void addScore(int points) override;
};
