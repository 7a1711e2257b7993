#pragma once

#include "core/Sprite.h"

#include <SDL.h>

// A trap on a pole: its spot of light wanders over the floor; when the ship touches it, it sounds the
// alarm and rains star missiles down where the ship was.
class Piege : public Sprite {
public:
    enum State : int { Idle = 2, Roaming = 4, Alarm = 5 };

    // The two values come from the wave generator and are not used; the trap also makes its pole.
    Piege(List* owner, float unusedA = 0, float unusedB = 0);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    // Degrees about y that turn the box towards its spot; 0 while the spot sits under the trap.
    float heading() const;

    int state;
    float spotX, spotZ;
    float spotVX, spotVZ;
    float alarmTimer;
    Sprite* victim;
    float pulse;
    float launchTimer;
    int alarmSounding;
    Uint32 alarmStart;

private:
    void calmDown();
    void runAlarm(float dt);
    void roam(float dt);
};
