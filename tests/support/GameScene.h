#pragma once

#include <SDL.h>

#include <QSize>

#include <functional>
#include <vector>

class Engine;
class World;

// The game drawing for a test: its own surface (context and frame buffer with depth and stencil) at a
// size, a fresh Engine (renderer probed, every texture loaded, the options applied) and World with the
// sprite models, a fake clock and a fixed seed. Frames read back are RGBA rows, bottom row first.
class GameScene {
public:
    ~GameScene();
    // False where there is no X display to draw on: the caller skips. With a title size it draws plain
    // pictures instead of the game's own, told apart by colour: floor tiles green, light maps and font
    // white, border blue, panel magenta, game over yellow, sky clear, the rest grey; the title red with
    // green 60 for each column of tiles and 20 for each row, blue (7 x + 3 y) % 64.
    bool open(int width = 800, int height = 600, QSize plainTitle = {});

    void draw(void (World::*pass)());

    const unsigned char* pixel(int x, int y) const;
    // Share of the pixels in a rectangle of unit coordinates (y up) that pass the test.
    double share(double x0, double y0, double x1, double y1,
                 const std::function<bool(const unsigned char*)>& test) const;
    // Where a world point lands in the last play frame, with the camera the sprites were drawn with.
    void project(float x, float y, float z, double* px, double* py) const;

    static Uint32 now;
    Engine* engine = nullptr;
    World* world = nullptr;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> frame;
    double camera[2][16] = {}; // modelview, projection
};
