#include "core/World.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Random.h"
#include "core/Waves.h"
#include "enemies/TacheBench.h"
#include "models/Angles.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"
#include "render/Textures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <GL/gl.h>

namespace {

World* theWorld = nullptr;

constexpr float MaxFrameStep = 10.0f;
constexpr float TwoTurns = 4.0f * Pi;
constexpr int FramesPerMeasure = 30;

// The frame counter behind the frame-rate text: kept for the whole run, never cleared by a new game.
struct FpsMeter {
    int frames = 0;
    char text[32] = "FPS: 0";

    void reset() { *this = FpsMeter(); }
};

FpsMeter fpsMeter;

} // namespace

const char* fpsText() {
    return fpsMeter.text;
}

World* World::instance() {
    if (!theWorld)
        theWorld = new World();
    return theWorld;
}

bool World::exists() {
    return theWorld != nullptr;
}

void World::discard() {
    delete theWorld;
    theWorld = nullptr;
}

World::World() : sprites(new ListSprite()) {
    for (auto& star : stars) {
        star[3] = static_cast<float>(gameRand() % 1400) / 10.0f - 70.0f;
        star[4] = 0.25f * static_cast<float>(gameRand() % 600) - 100.0f;
        star[5] = 90.0f;
        const float b = static_cast<float>(gameRand() % 750) / 1000.0f + 0.25f;
        star[0] = star[1] = star[2] = b;
    }
    for (int i = 0; i < FloorRows * FloorColumns; ++i) {
        floorVariant[i] = gameRand() % 5;
        floorMapVariant[i] = gameRand() % 5;
    }
    lastFrameTicks = sdlq::getTicks();
}

World::~World() {
    sprites->destroyAll();
    delete sprites;
    if (Engine::exists())
        Engine::instance()->ship = nullptr;
    if (theWorld == this)
        theWorld = nullptr;
}

void World::replaceSprites() {
    sprites->destroyAll();
    delete sprites;
    sprites = new ListSprite();
    Engine::instance()->ship = nullptr;
}

// Ticks since this pass last ran, capped at ten; the first call of a pass gives 0.
float World::stepFrame(Uint32& last, bool& started, float msPerTick) {
    const Uint32 now = sdlq::getTicks();
    if (!started) {
        started = true;
        last = now;
    }
    float step = static_cast<float>(now - last) / msPerTick;
    if (step > MaxFrameStep)
        step = MaxFrameStep;
    last = now;
    return step;
}

void World::restartClocks() {
    menuStarted = playStarted = creditsStarted = panelStarted = false;
}

void World::updateMenu() {
    Engine* engine = Engine::instance();
    engine->frameStep = stepFrame(lastMenuTicks, menuStarted, 20.0f);
    engine->menuAngle += engine->frameStep * 0.3f;
    if (engine->menuAngle > 360.0f)
        engine->menuAngle -= 360.0f;
}

void World::updatePlay() {
    Engine* engine = Engine::instance();
    engine->frameStep = stepFrame(lastPlayTicks, playStarted, 15.0f);
    if (engine->paused)
        engine->frameStep = 0.0f;
    sprites->moveAll();
    runWaves(this);
}

// Background fly-by of nests behind the credits (nine, once) and the options (five, repeating).
void World::updateScene(int nests, float spacing, float spawnPeriod, bool repeat) {
    sprites->moveAll();
    scenePhase += 0.01f * Engine::instance()->frameStep;
    if (scenePhase > TwoTurns)
        scenePhase -= TwoTurns;
    if (sceneStep == 0) {
        const int half = nests / 2;
        for (int k = -half; k <= half; ++k)
            sprites->add(new TacheBench(sprites, spacing * static_cast<float>(k), spawnPeriod));
        sceneStep = 1;
    } else if (sceneStep == 1 && sprites->count == 0) {
        if (repeat) {
            sceneStep = 0;
        } else {
            glEnable(GL_LIGHTING);
            sceneStep = 4;
        }
    }
}

void World::updateCreditsScene() {
    Engine::instance()->frameStep = stepFrame(lastCreditsTicks, creditsStarted, 20.0f);
    updateScene(9, 2.7f, 100.0f, false);
}

void World::updatePanelScene() {
    Engine::instance()->frameStep = stepFrame(lastPanelTicks, panelStarted, 20.0f);
    updateScene(5, 5.0f, 200.0f, true);
    if (sceneStep == 1)
        applyPanelOptions();
}

void World::settlePlayFrame() {
    Engine* e = Engine::instance();
    sprites->collideAll();
    if (!e->ship) {
        e->shipDeadTime += e->frameStep;
    } else if (e->ship->dead) {
        e->ship = nullptr;
        e->shipDeadTime = 0;
    }
    sprites->removeDead();
}

void World::showFrameRate() {
    if (++fpsMeter.frames >= FramesPerMeasure) {
        fpsMeter.frames = 0;
        measureFrameTime();
        // Beside the figure, the share of the window's size per side that the 3D scene is drawn at.
        std::snprintf(fpsMeter.text, sizeof fpsMeter.text, "FPS: %d  %d%%", 30000 / frameMs,
                      Engine::instance()->renderScale.percent());
    }
    sdlq::setCaption(fpsMeter.text, "vornium");
}

void World::measureFrameTime() {
    const Uint32 now = sdlq::getTicks();
    frameMs = static_cast<int>(now - lastFrameTicks);
    if (frameMs == 0)
        frameMs = 1;
    lastFrameTicks = now;
}

void World::toggleShowFps() {
    showFps = !showFps;
}

// The options panel only changes the Engine's fields; the scene behind it shows a change at once.
void World::applyPanelOptions() {
    Engine* engine = Engine::instance();
    if (seenAnisotropic < 0) {
        seenFilter = engine->textureFilter;
        seenDetails = engine->details;
        seenShadows = engine->shadows;
        seenAnisotropic = static_cast<int>(engine->maxAnisotropy);
    }
    bool changed = false;
    if (engine->textureFilter != seenFilter) {
        seenFilter = engine->textureFilter;
        engine->applyFilterOption(seenFilter);
        changed = true;
    }
    if (engine->anisotropic != seenAnisotropic) {
        seenAnisotropic = engine->anisotropic;
        applyAnisotropy(seenAnisotropic);
        changed = true;
    }
    if (engine->details != seenDetails || static_cast<int>(engine->shadows) != seenShadows) {
        seenDetails = engine->details;
        seenShadows = engine->shadows;
        changed = true;
    }
    if (changed)
        engine->saveSettings();
}
