#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QTemporaryDir;
class World;

// The game's drawing surface (its own context and a frame buffer with depth and stencil) and a
// resource folder of plain test pictures, each texture of its own colour.
class GLHarness {
public:
    static GLHarness* get();
    bool ok() const { return usable; }

    // Fresh Engine (capabilities probed, textures loaded, options applied) and World (GL set up).
    World* startWorld(int width = 1024, int height = 768);
    void resize(int width, int height);
    QString textureDir() const;

    // The frame as RGBA rows, bottom row first.
    void readFrame();
    const unsigned char* pixel(int x, int y) const;
    // Share of the pixels in a rectangle of unit coordinates (y up) that pass the test.
    double share(double x0, double y0, double x1, double y1,
                 const std::function<bool(const unsigned char*)>& test) const;
    double meanChannel(double x0, double y0, double x1, double y1, int channel) const;

    int width = 0;
    int height = 0;

private:
    GLHarness();
    void writeResources();

    std::unique_ptr<QTemporaryDir> resources;
    bool usable = false;
    std::vector<unsigned char> frame;
};

// Colours of the test pictures.
namespace testcolors {
constexpr unsigned char Floor[4] = {0, 255, 0, 255};
constexpr unsigned char FloorMap[4] = {255, 255, 255, 255};
constexpr unsigned char Border[4] = {0, 0, 255, 255};
constexpr unsigned char Board[4] = {255, 0, 255, 255};
constexpr unsigned char GameOver[4] = {255, 255, 0, 255};
constexpr unsigned char Other[4] = {128, 128, 128, 255};
} // namespace testcolors

// Texel of the test title picture at (x, y).
void titleTexel(unsigned int x, unsigned int y, unsigned char* rgba);
// Writes a title picture of the given size into the test resources.
bool writeTitle(const QString& dir, unsigned int width, unsigned int height);
