#pragma once

#include "core/Sprite.h"

// A glowing nest on the floor that now and then hatches a Scratcher.
class Tache : public Sprite {
public:
    enum State : int { Active = 2, Destroyed = 6 };

    Tache(List* owner, float x, int hitPoints);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    int state;
    int hitPoints;
    float angle;
    float glow[5];

protected:
    void walkGlow();
    // Throws a Scratcher out of the nest and makes the mound flare (the caller plays the sound).
    void hatch(bool straight);
    // The drift towards the player with the floor; dead once past the player.
    void drift();
};
