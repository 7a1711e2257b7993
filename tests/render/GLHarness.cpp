#include "GLHarness.h"

#include "PngWriter.h"
#include "core/Engine.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "render/Textures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Picture {
    const char* file;
    const unsigned char* color;
};

constexpr unsigned char Transparent[4] = {0, 0, 0, 0};
constexpr unsigned char White[4] = {255, 255, 255, 255};

constexpr Picture pictures[] = {
    {"floor.png", testcolors::Floor},
    {"floor1.png", testcolors::Floor},
    {"floor2.png", testcolors::Floor},
    {"floor3.png", testcolors::Floor},
    {"floor4.png", testcolors::Floor},
    {"floormap.png", testcolors::FloorMap},
    {"floormap1.png", testcolors::FloorMap},
    {"floormap2.png", testcolors::FloorMap},
    {"floormap3.png", testcolors::FloorMap},
    {"floormap4.png", testcolors::FloorMap},
    {"border2.png", testcolors::Border},
    {"board.png", testcolors::Board},
    {"gameover.png", testcolors::GameOver},
    {"chars.png", White},
    {"space0.png", Transparent},
    {"space1.png", Transparent},
    {"space2.png", Transparent},
    {"space3.png", Transparent},
    {"mark.png", testcolors::Other},
    {"cube.png", testcolors::Other},
    {"tache.png", testcolors::Other},
    {"deadtache.png", testcolors::Other},
    {"camouflage.png", testcolors::Other},
    {"thunder.png", testcolors::Other},
    {"effect1.png", testcolors::Other},
    {"chain.png", testcolors::Other},
    {"myship.png", testcolors::Other},
    {"piege.png", testcolors::Other},
    {"bandit1.png", testcolors::Other},
    {"missile.png", testcolors::Other},
    {"fighter2.png", testcolors::Other},
    {"bandit2.png", testcolors::Other},
    {"sphere.png", testcolors::Other},
    {"fumee1.png", testcolors::Other},
    {"fumee2.png", testcolors::Other},
    {"fumee3.png", testcolors::Other},
    {"galaxy.png", testcolors::Other},
    {"capsule_shield.png", testcolors::Other},
    {"capsule_power.png", testcolors::Other},
    {"capsule_bomb.png", testcolors::Other},
    {"capsule_invul.png", testcolors::Other},
};

} // namespace

void titleTexel(unsigned int x, unsigned int y, unsigned char* rgba) {
    rgba[0] = 255;
    rgba[1] = static_cast<unsigned char>(60 * (x / 256) + 20 * (y / 256));
    rgba[2] = static_cast<unsigned char>((x * 7 + y * 3) % 64);
    rgba[3] = 255;
}

bool writeTitle(const QString& dir, unsigned int width, unsigned int height) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            unsigned char t[4];
            titleTexel(x, y, t);
            layout.samples.insert(layout.samples.end(), {t[0], t[1], t[2], t[3]});
        }
    }
    return writePng((dir + "/vorn2.png").toStdString(), layout);
}

GLHarness* GLHarness::get() {
    static GLHarness* harness = new GLHarness();
    return harness;
}

GLHarness::GLHarness() : resources(std::make_unique<QTemporaryDir>()) {
    writeResources();
    setenv("ORBITRAX_RESOURCE_DIR", resources->path().toLocal8Bit().constData(), 1);
    // The game's own surface: its context and frame buffer, as the frame loop uses them.
    usable = QGuiApplication::platformName() == "xcb" && sdlq::setVideoMode(1024, 768, 0, sdlq::OpenGLFlag);
}

QString GLHarness::textureDir() const {
    return resources->path() + "/Resources/textures";
}

void GLHarness::writeResources() {
    const QString dir = textureDir();
    QDir().mkpath(dir);
    for (const Picture& p : pictures) {
        const auto* c = p.color;
        writeSolidPng((dir + "/" + p.file).toStdString(), 32, 32, c[0], c[1], c[2], c[3]);
    }
    writeTitle(dir, 640, 480);
}

void GLHarness::resize(int w, int h) {
    if (width != w || height != h)
        sdlq::setVideoMode(w, h, 0, sdlq::OpenGLFlag);
    width = w;
    height = h;
    sdlq::makeGameContextCurrent();
}

World* GLHarness::startWorld(int w, int h) {
    resize(w, h);
    World::discard();
    Engine* e = Engine::createHeadless();
    e->screenWidth = w;
    e->screenHeight = h;
    e->probeCapabilities();
    e->anisotropic = static_cast<int>(e->maxAnisotropy);
    e->loadTextures();
    applyAnisotropy(e->anisotropic);
    e->applyFilterOption(e->textureFilter);
    World* world = World::instance();
    world->initGL();
    return world;
}

void GLHarness::readFrame() {
    frame.assign(static_cast<size_t>(width) * height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    // ORBITRAX_TEST_SHOTS=folder keeps every frame read, to look at.
    const QByteArray shots = qgetenv("ORBITRAX_TEST_SHOTS");
    if (!shots.isEmpty()) {
        static int count = 0;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString name = QString("%1/%2-%3.png")
                                 .arg(QString::fromLocal8Bit(shots))
                                 .arg(test ? test->name() : "frame")
                                 .arg(++count);
        QImage(frame.data(), width, height, QImage::Format_RGBX8888).mirrored().save(name);
    }
}

const unsigned char* GLHarness::pixel(int x, int y) const {
    return frame.data() + (static_cast<size_t>(y) * width + x) * 4;
}

double GLHarness::share(double x0, double y0, double x1, double y1,
                        const std::function<bool(const unsigned char*)>& test) const {
    int hits = 0;
    int total = 0;
    for (int y = static_cast<int>(y0 * height); y < static_cast<int>(y1 * height); ++y) {
        for (int x = static_cast<int>(x0 * width); x < static_cast<int>(x1 * width); ++x) {
            ++total;
            if (test(pixel(x, y)))
                ++hits;
        }
    }
    return total ? static_cast<double>(hits) / total : 0.0;
}

double GLHarness::meanChannel(double x0, double y0, double x1, double y1, int channel) const {
    double sum = 0;
    int total = 0;
    for (int y = static_cast<int>(y0 * height); y < static_cast<int>(y1 * height); ++y) {
        for (int x = static_cast<int>(x0 * width); x < static_cast<int>(x1 * width); ++x) {
            sum += pixel(x, y)[channel];
            ++total;
        }
    }
    return total ? sum / total : 0.0;
}
