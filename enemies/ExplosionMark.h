#pragma once

#include "core/Sprite.h"

class Explosion;

// The scorch mark an explosion leaves on the floor; it drifts with the floor until it is behind the player.
class ExplosionMark : public Sprite {
public:
    ExplosionMark(Explosion* explosion, int size);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;

    float halfWidth;
};
