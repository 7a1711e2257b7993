#pragma once

#include "core/Sprite.h"

// The one way everything blows up: a flash, optional smoke, sound, scorch mark and debris.
class Explosion : public Sprite {
public:
    // An override of exactly 99.0 keeps the source's coordinate.
    Explosion(Sprite* source, int size, bool withSound, bool withDebris, float overrideX = 99.0f,
              float overrideY = 99.0f, float overrideZ = 99.0f);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;

    int size;
    int smokeVariant;
    float radius;
    float lobe1, lobe2, lobe3, lobe4;
    float roll;
    int sourceKind;
    int withDebris;
};
