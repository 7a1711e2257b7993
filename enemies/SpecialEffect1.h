#pragma once

#include "core/Sprite.h"

#include <vector>

class MyShip;

// The burst of coloured light beams that rises around the ship when it collects a capsule.
class SpecialEffect1 : public Sprite {
public:
    SpecialEffect1(MyShip* host, int capsuleType);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void prepareRemoval() override;
    void watchedRemoved(Sprite* removed) override;

    Sprite* host;
    int capsuleType;
    int count;
    std::vector<float> offsetX;
    std::vector<float> offsetZ;
    std::vector<float> lifetime;
    float duration;
    float time;
};
