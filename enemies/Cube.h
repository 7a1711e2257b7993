#pragma once

#include "core/Sprite.h"

struct Mesh;

// A heavy block that slides in with the floor; shots knock it about, and one destroyed cube in five
// leaves a bonus capsule.
class Cube : public Sprite {
public:
    Cube(List* owner, int hitPoints, int x);

    void draw() override;
    void collide(Sprite* other) override;
    void move() override;
    void drawShadow() override;

    // Compiles the textured model (list 0) and the bare shape (list 1); again after a video-mode change.
    static void buildModels();
    static unsigned int listBase();
    // The prepared mesh (also lent to the debris of a destroyed cube).
    static const Mesh& mesh();

    float angle;
    float spin;
    int hitPoints;

private:
    void knock(Sprite* other);
    void shove(Sprite* other);
    void destroy(Sprite* other);
};
