#pragma once

#include "core/Sprite.h"

// A star missile a trap calls down from the sky towards where its target was; it hurts whatever it hits.
class Spirale : public Sprite {
public:
    // The target's position is read once, here; the missile keeps no pointer to it.
    Spirale(List* owner, Sprite* target);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    float spin;

private:
    void drawStar(bool lit);
};
