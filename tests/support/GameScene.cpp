#include "GameScene.h"

#include "core/Engine.h"
#include "core/SpriteModels.h"
#include "core/World.h"
#include "platform/SdlCompat.h"

#include <QFile>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

#include <cstdlib>

GameScene::GameScene() = default;

GameScene::~GameScene() {
    close();
}

bool GameScene::available(const char* texture) {
    const char* resources = std::getenv("ORBITRAX_RESOURCE_DIR");
    return QGuiApplication::platformName() == "xcb" && resources &&
           QFile::exists(QString(resources) + "/Resources/textures/" + texture);
}

bool GameScene::open(int width, int height, Uint32 (*ticks)(), unsigned seed) {
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    context = std::make_unique<QOpenGLContext>();
    context->setFormat(format);
    if (!context->create())
        return false;
    surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(context->format());
    surface->create();
    if (!context->makeCurrent(surface.get()))
        return false;
    sdlq::setTicksSource(ticks);
    std::srand(seed);
    World::discard();
    engine = Engine::createHeadless();
    engine->screenWidth = width;
    engine->screenHeight = height;
    engine->probeCapabilities();
    engine->loadTextures();
    engine->applyFilterOption(engine->textureFilter);
    world = World::instance();
    world->initGL();
    buildSpriteModels();
    // Made last: probing the renderer leaves another frame buffer bound.
    fbo = std::make_unique<QOpenGLFramebufferObject>(width, height,
                                                     QOpenGLFramebufferObject::CombinedDepthStencil);
    fbo->bind();
    engine->frameStep = 1.0f;
    return true;
}

void GameScene::close() {
    if (!context)
        return;
    if (engine)
        engine->ship = nullptr;
    World::discard();
    Engine::discard();
    engine = nullptr;
    world = nullptr;
    sdlq::setTicksSource(nullptr);
    fbo.reset();
    context->doneCurrent();
    context.reset();
}
