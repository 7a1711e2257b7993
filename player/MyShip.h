#pragma once

#include "core/Sprite.h"

#include <SDL.h>

class List;

// The player's craft.
class MyShip : public Sprite {
public:
    enum State : int { Arriving = 1, Flying = 2, Spinning = 4, Dying = 5 };

    MyShip(List* owner, int energy);
    ~MyShip() override;

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;
    void addScore(int points) override;

    // Builds the four display lists (textured ship, bare shape, shield bubble, menu ship).
    static void buildModels();
    // First of the four consecutive display lists.
    static unsigned int listBase();

    int weaponLevel;
    int energy;
    int maxEnergy;
    int shipState;
    float accelX, accelZ;
    int score;
    float spinAngle;
    int bombs;
    int shotCount;
    float deathTime;
    int invulnerable;
    Uint32 invulnerableUntil;
};
