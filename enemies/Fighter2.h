#pragma once

#include "enemies/DivingFighter.h"

struct Mesh;

// The larger diving fighter, drawn at twice its mesh size.
class Fighter2 : public DivingFighter {
public:
    Fighter2(List* owner, float x, float z, float agility, int hitPoints);

    void draw() override;

    // Prepares the mesh (smoothed normals, texture v flipped) and compiles the model list.
    static void buildModels();
    static Mesh preparedMesh();
    static unsigned int modelList() { return list; }

protected:
    void fire() override;
    void drawModel() override;

private:
    static unsigned int list;
};

class Fighter2Fire : public DivingFighterFire {
public:
    Fighter2Fire(List* owner, float x, float y, float z);
};
