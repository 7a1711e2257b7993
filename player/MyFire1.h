#pragma once

#include "core/Sprite.h"

// The straight yellow laser bolt: the main gun and the side guns.
class MyFire1 : public Sprite {
public:
    // The main bolt, straight ahead.
    explicit MyFire1(Sprite* ship);
    // A side bolt with its own velocity, started beside the ship.
    MyFire1(Sprite* ship, float vx, float vz);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;
    void addScore(int points) override;
};

// Points won by a projectile go to the Engine's current ship, if there is one.
void addScoreToShip(int points);
