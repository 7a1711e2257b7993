#include "GameScene.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/SpriteModels.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "render/Camera.h"
#include "render/GlState.h"
#include "render/Textures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <GL/gl.h>
#include <GL/glu.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Draws nothing; keeps the camera it is drawn with.
class CameraProbe : public Sprite {
public:
    CameraProbe(List* owner, double (*camera)[16]) : Sprite(owner, 0, 0, -100, 0), camera(camera) {}
    void draw() override {
        glGetDoublev(GL_MODELVIEW_MATRIX, camera[0]);
        glGetDoublev(GL_PROJECTION_MATRIX, camera[1]);
    }
    void collide(Sprite*) override {}
    double (*camera)[16];
};

void writePlainPictures(Engine* engine, QSize title) {
    // The first match of the name's start counts.
    const std::pair<const char*, QColor> colours[] = {
        {"textures/floormap", Qt::white},    {"textures/floor", Qt::green},     {"textures/border", Qt::blue},
        {"textures/board", Qt::magenta},     {"textures/gameover", Qt::yellow}, {"textures/chars", Qt::white},
        {"textures/space", Qt::transparent}, {"", QColor(128, 128, 128)}};
    static QTemporaryDir resources;
    qputenv("ORBITRAX_RESOURCE_DIR", resources.path().toLocal8Bit());
    for (const TextureFile& file : engine->textureFiles()) {
        const QString path = resources.path() + "/Resources/" + file.file;
        QDir().mkpath(QFileInfo(path).path());
        QImage image(file.tiles > 1 ? title : QSize(32, 32), QImage::Format_RGBA8888);
        image.fill(std::find_if(colours, colours + 8, [&](auto c) {
                       return std::string(file.file).starts_with(c.first);
                   })->second);
        for (int y = 0; file.tiles > 1 && y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixelColor(x, y, QColor(255, 60 * (x / 256) + 20 * (y / 256), (x * 7 + y * 3) % 64));
        image.save(path);
    }
}

} // namespace

Uint32 GameScene::now = 0;

GameScene::~GameScene() {
    if (engine)
        engine->ship = nullptr;
    World::discard();
    Engine::discard();
    sdlq::setTicksSource(nullptr);
}

bool GameScene::open(int w, int h, QSize plainTitle) {
    if (QGuiApplication::platformName() != "xcb" || !sdlq::setVideoMode(w, h, 0, sdlq::OpenGLFlag))
        return false;
    width = w;
    height = h;
    now = 50000;
    sdlq::setTicksSource([] { return now; });
    sdlq::releaseAllKeys();
    std::srand(1);
    camX = camZ = camRoll = 0;
    World::discard();
    engine = Engine::createHeadless();
    engine->screenWidth = w;
    engine->screenHeight = h;
    // The game's own pictures again after plain ones (a test that opens twice).
    static const QByteArray gamePictures = qgetenv("ORBITRAX_RESOURCE_DIR");
    if (!plainTitle.isEmpty())
        writePlainPictures(engine, plainTitle);
    else if (gamePictures.isNull())
        qunsetenv("ORBITRAX_RESOURCE_DIR");
    else
        qputenv("ORBITRAX_RESOURCE_DIR", gamePictures);
    engine->probeCapabilities();
    engine->anisotropic = static_cast<int>(engine->maxAnisotropy);
    engine->loadTextures();
    applyAnisotropy(engine->anisotropic);
    engine->applyFilterOption(engine->textureFilter);
    world = World::instance();
    glMatrixMode(GL_MODELVIEW); // the light is placed through it, as on a fresh context
    glLoadIdentity();
    world->initGL();
    buildSpriteModels();
    world->sprites->add(new CameraProbe(world->sprites, camera));
    engine->frameStep = 0;
    return true;
}

void GameScene::draw(void (World::*pass)()) {
    (world->*pass)();
    // The passes check their GL errors and the sprites' switches themselves (check builds).
    EXPECT_EQ(GlState::takeReportCount(), 0) << "GL errors or switches left changed (stderr names them)";
    frame.assign(static_cast<size_t>(width) * height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
}

const unsigned char* GameScene::pixel(int x, int y) const {
    return frame.data() + (static_cast<size_t>(y) * width + x) * 4;
}

double GameScene::share(double x0, double y0, double x1, double y1,
                        const std::function<bool(const unsigned char*)>& test) const {
    int hits = 0, total = 0;
    for (int y = static_cast<int>(y0 * height); y < static_cast<int>(y1 * height); ++y)
        for (int x = static_cast<int>(x0 * width); x < static_cast<int>(x1 * width); ++x, ++total)
            hits += test(pixel(x, y)) ? 1 : 0;
    return total ? static_cast<double>(hits) / total : 0.0;
}

void GameScene::project(float x, float y, float z, double* px, double* py) const {
    const GLint viewport[4] = {0, 0, width, height};
    double depth = 0;
    gluProject(x, y, z, camera[0], camera[1], viewport, px, py, &depth);
}
