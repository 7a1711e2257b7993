#pragma once

#include "core/Sprite.h"

// A ground unit on tracks: rolls in, stops short of the player and shuffles back and forth there,
// now and then swinging its turret onto the player ship to fire a shell. It never leaves the field.
class Tank : public Sprite {
public:
    enum State : int { Advance = 0, Reverse = 1, TurnTurret = 3, Aim = 4, Acquire = 5 };
    static constexpr int Points = 400;

    Tank(List* owner, int x, int hitPoints);
    ~Tank() override;

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    // Tanks alive in the whole game: the wave generator limits them by this.
    static int living() { return livingCount; }
    // Compiles the hull and turret boxes (edges 0.6 and 0.5).
    static void buildModels();

    State state;
    int hitPoints;
    float turretAngle; // degrees; the barrel points along (−cos, sin) in the x–z plane
    // The ship being aimed at; held only while the aim is taken, so it never outlives the ship.
    float targetAngle;
    float turnStep;
    float aimTimer; // ticks
    float trackScrollRight, trackScrollLeft;

private:
    void acquire(float dt);
    void turn(float dt);
    void aim(float dt);
    void scrollTracks(float dt);
    void takeHit(Sprite* other);
    void drawBody(bool textured);
    void drawTrack(float inner, float outer, float offset, bool textured);
    void drawBarrel();

    static int livingCount;
    static unsigned int hullList;
    static unsigned int turretList;
};

// The tank's shell, a flickering flame flying along the turret's heading.
class TankFire : public Sprite {
public:
    TankFire(List* owner, Tank* firer, float x, float y, float z, float dx, float dz, float heading);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    float heading; // degrees, the turret angle at firing

private:
    void fan(bool coloured);
};
