#pragma once

#include "core/Sprite.h"

// The thin pole under a trap; it drifts with the trap and only bounces the ship.
class Poto : public Sprite {
public:
    explicit Poto(Sprite* trap);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;
};
