#pragma once

#include "core/Sprite.h"

class Cube;
class MyShip;

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
    static unsigned int listBase();
    // The capsule type a new capsule gets: no power capsule once the ship's weapon level is 7 or more.
    static int chooseCapsuleType(const MyShip* ship);

    float angle;
    float spin;
    int capsuleType;
};
