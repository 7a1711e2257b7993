#pragma once

#include "core/Sprite.h"

// The homing missile: chases a random target, as its watcher, and picks another when it goes.
class MyFire3 : public Sprite {
public:
    MyFire3(Sprite* ship, float offset);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;
    void addScore(int points) override;
    void prepareRemoval() override;
    void watchedRemoved(Sprite* removed) override;

    // The missile's two display lists: the textured model and a plain box.
    static void buildModels();
    static unsigned int listBase();

    // Heading in degrees for drawing, from the velocity.
    float heading() const;

    float desiredVz;
    float desiredVx;
    Sprite* target;

private:
    void chooseTarget();
    void turn() const;
};
