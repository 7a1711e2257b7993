#include "RenderTest.h"

#include "core/Engine.h"
#include "render/Textures.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <cstring>
#include <vector>

namespace {

constexpr unsigned char White[4] = {255, 255, 255, 255};
constexpr unsigned char Clear[4] = {0, 0, 0, 0};

// The colour of each file, by the start of its name; the first match counts.
struct Picture {
    const char* prefix;
    const unsigned char* colour;
};
constexpr Picture pictures[] = {
    {"textures/floormap", colours::FloorMap},
    {"textures/floor", colours::Floor},
    {"textures/border", colours::Border},
    {"textures/board", colours::Board},
    {"textures/gameover", colours::GameOver},
    {"textures/chars", White},
    {"textures/space", Clear},
    {"", colours::Other},
};

QImage picture(unsigned width, unsigned height, void (*texel)(unsigned, unsigned, unsigned char*)) {
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGBA8888);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            texel(x, y, image.scanLine(static_cast<int>(y)) + 4 * x);
    return image;
}

} // namespace

void titleTexel(unsigned x, unsigned y, unsigned char* rgba) {
    rgba[0] = 255;
    rgba[1] = static_cast<unsigned char>(60 * (x / 256) + 20 * (y / 256));
    rgba[2] = static_cast<unsigned char>((x * 7 + y * 3) % 64);
    rgba[3] = 255;
}

void RenderTest::SetUp() {
    start(1024, 768);
}

void RenderTest::start(int width, int height, unsigned titleWidth, unsigned titleHeight) {
    static QTemporaryDir resources;
    const QString root = resources.path() + "/Resources/";
    qputenv("ORBITRAX_RESOURCE_DIR", resources.path().toLocal8Bit());
    for (const TextureFile& file : Engine::createHeadless()->textureFiles()) {
        const QString path = root + file.file;
        QDir().mkpath(QFileInfo(path).path());
        if (file.tiles > 1) {
            picture(titleWidth, titleHeight, titleTexel).save(path);
            continue;
        }
        const Picture* p = pictures;
        while (std::strncmp(file.file, p->prefix, std::strlen(p->prefix)) != 0)
            ++p;
        QImage solid(32, 32, QImage::Format_RGBA8888);
        solid.fill(QColor(p->colour[0], p->colour[1], p->colour[2], p->colour[3]));
        solid.save(path);
    }
    Engine::discard();
    if (!scene.open(width, height))
        GTEST_SKIP() << "needs an X display";
    scene.engine->frameStep = 0;
}
