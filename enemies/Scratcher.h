#pragma once

#include "core/Sprite.h"

// A small box that leaps out of a nest in a high arc, trailing smoke, and explodes where it lands.
class Scratcher : public Sprite {
public:
    // Ticks of one jump: the arc ends on the aim point.
    static constexpr float JumpTicks = 120.0f;

    // A straight scratcher jumps ahead to z = 25; any other aims at the ship or a random spot.
    Scratcher(List* owner, float x, float z, bool straight);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    // Compiles the small box; again after a video-mode change.
    static void buildModels();

    float gravity;
    float smokeTimer;

private:
    void aimAt(float ax, float az);
    void trailSmoke(float dt);
    void drawFloorLight();
};
