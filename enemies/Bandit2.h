#pragma once

#include "enemies/DivingFighter.h"

struct Mesh;

// The smaller diving fighter.
class Bandit2 : public DivingFighter {
public:
    Bandit2(List* owner, float x, float z, float agility, int hitPoints);

    void draw() override;

    // Prepares the mesh (smoothed normals, positions in world units) and compiles the model list.
    static void buildModels();
    static Mesh preparedMesh();
    static unsigned int modelList() { return list; }

protected:
    void fire() override;
    void drawModel() override;

private:
    static unsigned int list;
};

class Bandit2Fire : public DivingFighterFire {
public:
    Bandit2Fire(List* owner, float x, float y, float z);
};
