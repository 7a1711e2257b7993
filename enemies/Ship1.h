#pragma once

#include "core/Sprite.h"

struct Mesh;

// The raider: flies in, circles the player on an ellipse re-centred every quarter turn so that the
// player stays inside it, throws a loop now and then, and after some turns leaves the field.
class Ship1 : public Sprite {
public:
    enum State : int { Approach = 0, Circling = 1, Loop = 2, Leaving = 4 };
    static constexpr int Points = 250;

    // x, z and agility are accepted for the generator's sake; the raider picks its own ellipse.
    Ship1(List* owner, float x, float z, float agility, int hitPoints);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    // Prepares the mesh, compiles the textured and the bare list and lends the mesh to the debris.
    static void buildModels();
    static Mesh preparedMesh();
    static unsigned int listBase() { return lists; }

    int state;
    int hitPoints;
    float centreX; // during a loop: the loop's centre height
    float centreZ;
    float radiusX; // negative: the turn runs the other way
    float radiusZ;
    int quarter;
    float angle; // degrees

private:
    void approach();
    void startLoop();
    void loop(float dt);
    void circle(float dt);
    bool recentre(float px, float pz);
    void beginQuarter0(float px, float pz);
    void beginQuarter1(float pz);
    bool beginQuarter2(float px, float pz);
    void beginQuarter3(float pz);
    void leave();
    void destroy(Sprite* other);
    void drawWith(unsigned int list);

    static unsigned int lists;
};

// The raider's shot: a small spinning spike.
class Ship1Fire : public Sprite {
public:
    Ship1Fire(List* owner, float x, float y, float z);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    float spin; // degrees

private:
    void fan(bool coloured);
};
