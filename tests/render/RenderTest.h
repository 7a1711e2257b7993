#pragma once

#include "GameScene.h"

#include <gtest/gtest.h>

// The game drawing with plain test pictures instead of its own: each texture of the engine's table in
// one colour, so that what a pass draws is told apart by colour, and the title in a pattern whose texels
// say where they lie (titleTexel).
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override;
    // (Re)opens the scene at a size; the title picture is written at titleWidth x titleHeight first.
    void start(int width, int height, unsigned titleWidth = 640, unsigned titleHeight = 480);

    GameScene scene;
};

void titleTexel(unsigned x, unsigned y, unsigned char* rgba);

// Colours of the test pictures (RGBA).
namespace colours {
constexpr unsigned char Floor[4] = {0, 255, 0, 255};
constexpr unsigned char FloorMap[4] = {255, 255, 255, 255};
constexpr unsigned char Border[4] = {0, 0, 255, 255};
constexpr unsigned char Board[4] = {255, 0, 255, 255};
constexpr unsigned char GameOver[4] = {255, 255, 0, 255};
constexpr unsigned char Other[4] = {128, 128, 128, 255};
} // namespace colours
