#include "RenderTest.h"

#include "core/Engine.h"
#include "render/Textures.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <string>

void titleTexel(unsigned x, unsigned y, unsigned char* rgba) {
    rgba[0] = 255;
    rgba[1] = static_cast<unsigned char>(60 * (x / 256) + 20 * (y / 256));
    rgba[2] = static_cast<unsigned char>((x * 7 + y * 3) % 64);
    rgba[3] = 255;
}

void RenderTest::start(int width, int height, unsigned titleWidth, unsigned titleHeight) {
    // The colour of each file by the start of its name; the first match counts.
    const std::pair<const char*, QColor> colours[] = {
        {"textures/floormap", Qt::white},    {"textures/floor", Qt::green},     {"textures/border", Qt::blue},
        {"textures/board", Qt::magenta},     {"textures/gameover", Qt::yellow}, {"textures/chars", Qt::white},
        {"textures/space", Qt::transparent}, {"", QColor(128, 128, 128)}};
    static QTemporaryDir resources;
    qputenv("ORBITRAX_RESOURCE_DIR", resources.path().toLocal8Bit());
    for (const TextureFile& file : Engine::createHeadless()->textureFiles()) {
        const QString path = resources.path() + "/Resources/" + file.file;
        QDir().mkpath(QFileInfo(path).path());
        QImage image(file.tiles > 1 ? QSize(titleWidth, titleHeight) : QSize(32, 32),
                     QImage::Format_RGBA8888);
        auto colour = colours;
        while (!std::string(file.file).starts_with(colour->first))
            ++colour;
        image.fill(colour->second);
        for (int y = 0; file.tiles > 1 && y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                titleTexel(x, y, image.scanLine(y) + 4 * x);
        image.save(path);
    }
    Engine::discard();
    if (!scene.open(width, height))
        GTEST_SKIP() << "needs an X display";
    scene.engine->frameStep = 0;
}
