#pragma once

#include "core/Sprite.h"

class Cube;

// A bonus capsule left by a destroyed cube; the ship's own reaction applies its type.
class Diamond : public Sprite {
public:
    enum CapsuleType : int { Shield = 0, Bomb = 1, Power = 2, Invulnerability = 3 };

    explicit Diamond(Cube* source);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    static void buildModels();

    float angle;
    float spin;
    int capsuleType;
};
