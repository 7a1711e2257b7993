#pragma once

#include "core/Sprite.h"

class MyFire4;

// The wavering smoke trail of a ground missile; it outlives its missile until it has faded.
class MyFire4Smoke : public Sprite {
public:
    static constexpr int MaxPoints = 40;

    explicit MyFire4Smoke(MyFire4* missile);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;
    void prepareRemoval() override;
    void watchedRemoved(Sprite* removed) override;

    // Opacity of trail point i (0 once the fade has reached the newest point).
    float pointAlpha(int i) const;

    float trailX[MaxPoints];
    float trailZ[MaxPoints];
    float fade;
    int trailCount;
    MyFire4* parent;

private:
    void drawStrip(int from, float halfX, float halfY);
};
