#pragma once

#include "core/Sprite.h"

// The flight programme shared by the two diving fighters: dive, brake and fall back, dive again, drop a
// shot at close range, climb away over the player. Each fighter supplies its shot and its model.
class DivingFighter : public Sprite {
public:
    enum State : int { FirstDive = 0, FallBack = 1, SecondDive = 2, Climb = 3 };
    static constexpr int Points = 100;

    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    int state;
    int hitPoints;
    float agility;

protected:
    DivingFighter(List* owner, float x, float y, float z, float agility, int hitPoints, float sizeX,
                  float sizeZ);

    // Appends one shot of the fighter's own class at its position.
    virtual void fire() = 0;
    // Calls the model list inside the fighter's bank and pitch.
    virtual void drawModel() = 0;

private:
    void stepState(float dt);
    void trackShip(float dt);
    void clampSpeed();
    void destroy(Sprite* other);
};

// The fighters' shot: a glowing spike flying straight at the player's end of the field.
class DivingFighterFire : public Sprite {
public:
    void collide(Sprite* other) override;
    void move() override;
    void draw() override;
    void drawShadow() override;

protected:
    DivingFighterFire(List* owner, float x, float y, float z);

private:
    void fan(bool coloured);
};
