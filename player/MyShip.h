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

    // Sets the control flags from the keys and the first joystick.
    static void readControls();

    // Reads of the first joystick, replaceable by tests (there is no stick there).
    struct JoystickApi {
        bool (*present)();
        void (*update)();
        int (*axis)(int index);
        int (*button)(int index);
    };
    // Null restores the Engine's joystick.
    static void setJoystickApi(const JoystickApi* api);
    // The type of a capsule the ship touched; tests replace it with their own stand-in capsule.
    static int (*capsuleTypeOf)(Sprite* capsule);

    // Control flags refreshed by every update, read by the firing code in the same update.
    static int up, down, left, right;
    static Uint8 fire, bomb;
    // Fire pacing in SDL milliseconds, kept across games.
    static int lastShotTime, fireHeldSince, lastBombTime;

    int weaponLevel;
    int energy;
    int maxEnergy;
    State shipState;
    float accelX, accelZ;
    int score;
    float spinAngle;
    int bombs;
    int shotCount;
    float deathTime;
    int invulnerable;
    Uint32 invulnerableUntil;

private:
    bool takeDamage(int amount);
    void bounce(Sprite* other);
    void hitByShot();
    void pickCapsule(Sprite* capsule);
    void fireWeapons();
    void fireSalvo(Uint32 now);
    void steer(float& v, float accel, int plus, int minus, float t);
    void keepInside();
};
