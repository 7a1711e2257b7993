#pragma once

#include "core/List.h"

class Sprite;

// The list of every sprite of a scene, with the per-frame passes.
class ListSprite : public List {
public:
    ListSprite();
    ~ListSprite() override;

    // Appends and counts targets; sprites made by other sprites go through the virtual List::add.
    void add(Sprite* s);
    using List::add;

    void moveAll();
    void drawShadows();
    void drawAll();
    void collideAll();
    void removeDead();
    Sprite* pickRandomTarget();
    void destroyAll();

    int targetCount;
};
