#pragma once

#include "core/Sprite.h"

// The bomb: a ring of yellow spheres that grows where it was dropped, then sweeps forward.
class MyFire2 : public Sprite {
public:
    enum State : int { Expanding = 2, Flying = 3 };

    explicit MyFire2(Sprite* ship);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void addScore(int points) override;

    float spinAngle;
    int bombState;
};
