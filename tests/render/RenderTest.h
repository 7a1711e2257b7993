#pragma once

#include "GameScene.h"

#include <gtest/gtest.h>

// The game drawing with plain pictures instead of its own, so that what a pass draws is told apart by
// colour: floor tiles green, light maps and font white, border blue, panel magenta, game over yellow, sky
// pictures clear, the rest grey; the title in a pattern whose texels say where they lie (titleTexel).
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override { start(1024, 768); }
    // (Re)opens the scene at a size, with the title picture written at that size first.
    void start(int width, int height, unsigned titleWidth = 640, unsigned titleHeight = 480);

    GameScene scene;
};

void titleTexel(unsigned x, unsigned y, unsigned char* rgba);
