#pragma once

#include "core/Sprite.h"

// A puff of smoke alone, without flash: for objects that smoke rather than explode.
class ExplosionJustSmoke : public Sprite {
public:
    ExplosionJustSmoke(Sprite* source, float size);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;

    float size;
    int smokeVariant;
    float radius;
    float roll;
};
