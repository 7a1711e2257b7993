#pragma once

#include "core/Sprite.h"

#include <cstdint>
#include <vector>

class Explosion;

// The spray an explosion leaves: flat glowing sparks and small textured pieces cut from the exploded model,
// all in one list entry.
class PieceOfShip : public Sprite {
public:
    enum Phase : int16_t { Finished = -1, Resting = 0, Flying = 1 };

    struct Particle {
        float x, y, z;
        float vx, vy, vz;
        float tint;
        float width, height;
        float life;
        float angle;
        int triangle;
        int sort; // 0 spark, 1 or 2 debris
        int16_t phase;
    };

    PieceOfShip(Explosion* explosion, int count);

    // Opacity of a spark by its life: fades in, holds, fades out.
    static float sparkAlpha(float life);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    int count;
    int remaining;
    int sourceKind;
    std::vector<Particle> particles;

private:
    void finish(Particle& p);
    void drawSparks();
    void drawDebris();
};
