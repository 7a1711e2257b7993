// Frame rate of the play view on the game's own surface, shown in a window through the platform's
// present: the play frame alone, the frame loop's 12 ms minimum, the present itself, and start-up to
// the first menu frame. Needs an X display (xvfb-run) and the built resources beside the binary
// (or ORBITRAX_RESOURCE_DIR); skips without a display.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/SpriteModels.h"
#include "core/World.h"
#include "platform/SDL_QMainWindow.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"
#include "render/Camera.h"
#include "render/RenderScale.h"
#include "render/Textures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace {

constexpr Uint32 MinFrameMs = 12;

class BenchWindow : public SDL_QMainWindow {
public:
    BenchWindow() { setCentralWidget(new SDL_QWidget(this)); }
};

bool openWindow() {
    static int argc = 1;
    static char name[] = "bench_RenderBench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = nullptr;
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        return false;
    if (!app) {
        sdlq::prepareApplication();
        app = new QApplication(argc, argv);
        auto* window = new BenchWindow();
        window->show();
    }
    return true;
}

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

void settle() {
    for (int k = 0; k < 20; ++k) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
}

// Engine, textures, World and models as runGame sets them up, at the given size.
World* startGame(int width, int height) {
    sdlq::setVideoMode(width, height, 0, sdlq::OpenGLFlag);
    settle();
    sdlq::makeGameContextCurrent();
    World::discard();
    Engine* e = Engine::createHeadless();
    e->probeCapabilities();
    e->screenWidth = width;
    e->screenHeight = height;
    e->anisotropic = static_cast<int>(e->maxAnisotropy);
    e->loadTextures();
    applyAnisotropy(e->anisotropic);
    e->applyFilterOption(e->textureFilter);
    World* world = World::instance();
    world->initGL();
    buildSpriteModels();
    return world;
}

// A game in progress: the ship and whatever the waves brought in two seconds of play.
World* startPlay(int width, int height) {
    World* world = startGame(width, height);
    Engine* e = Engine::instance();
    std::srand(3);
    auto* ship = new MyShip(world->sprites, 100);
    e->ship = ship;
    world->sprites->add(ship);
    for (int k = 0; k < 130; ++k) {
        world->updatePlay();
        world->renderPlay();
        QCoreApplication::processEvents();
        sdlq::makeGameContextCurrent();
        QThread::msleep(15);
    }
    return world;
}

// One play frame with its logic, drawing and present; the ship kept alive so that every frame is a full one.
void playOnce(World* world) {
    world->updatePlay();
    if (Engine* e = Engine::instance(); e->ship)
        e->ship->energy = e->ship->maxEnergy;
    QCoreApplication::processEvents();
    sdlq::makeGameContextCurrent();
    world->renderPlay();
}

void playFrame(benchmark::State& state, bool minimumFrameTime) {
    if (!openWindow()) {
        state.SkipWithError("needs an X display");
        return;
    }
    World* world = startPlay(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Engine* e = Engine::instance();
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        const Uint32 start = sdlq::getTicks();
        world->updatePlay();
        // Keep the ship alive so that every frame is a full play frame.
        if (e->ship)
            e->ship->energy = e->ship->maxEnergy;
        QCoreApplication::processEvents();
        sdlq::makeGameContextCurrent();
        world->renderPlay();
        world->showFrameRate();
        const Uint32 elapsed = sdlq::getTicks() - start;
        if (minimumFrameTime && elapsed < MinFrameMs)
            sdlq::delay(MinFrameMs - elapsed);
    }
    // CPU of every thread (llvmpipe rasterises on its own threads): what a frame costs on an idle machine.
    state.counters["cpu_ms_per_frame"] =
        (processCpuMs() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["sprites"] = world->sprites->count;
}

void BM_PlayFrame(benchmark::State& state) {
    playFrame(state, false);
}

void BM_PlayFrameWithMinimumFrameTime(benchmark::State& state) {
    playFrame(state, true);
}

// Where a frame's time goes: details, anisotropy and shadows of the play frame at 1024 x 768.
void BM_PlayFrameOptions(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("needs an X display");
        return;
    }
    World* world = startPlay(1024, 768);
    Engine* e = Engine::instance();
    e->details = static_cast<int>(state.range(0));
    applyAnisotropy(static_cast<int>(state.range(1)));
    e->shadows = state.range(2) != 0;
    const double cpuStart = processCpuMs();
    for (auto _ : state)
        playOnce(world);
    state.counters["cpu_ms_per_frame"] =
        (processCpuMs() - cpuStart) / static_cast<double>(state.iterations());
}

// The present alone: the finished frame read back and painted in the view.
void BM_Present(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("needs an X display");
        return;
    }
    World* world = startPlay(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    world->renderPlay();
    glFinish();
    for (auto _ : state) {
        sdlq::glSwapBuffers();
        glFinish();
    }
}

// Scales the render scale down to a percent: a third of a second of frames that would fit the budget
// only at that size.
void forceScale(RenderScale& scale, int percent) {
    scale.setMode(RenderScale::Mode::Auto);
    const double side = percent / 100.0;
    for (int k = 0; percent < 100 && k < 64 && scale.percent() != percent; ++k)
        scale.frameDone(0.999 * RenderScale::BudgetMs / (side * side));
}

// The play frame with the 3D scene drawn at a share of the window's size per side and scaled up (read
// back, by the window's painter as it shows the frame).
void BM_PlayFrameScale(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("needs an X display");
        return;
    }
    World* world = startPlay(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Engine* e = Engine::instance();
    applyAnisotropy(1); // the default on a software renderer
    forceScale(e->renderScale, static_cast<int>(state.range(2)));
    for (auto _ : state)
        playOnce(world);
    state.counters["percent"] = e->renderScale.percent();
}

// Engine, 42 textures, GL set-up, every model and the first menu frame.
void BM_StartUpToMenuFrame(benchmark::State& state) {
    if (!openWindow()) {
        state.SkipWithError("needs an X display");
        return;
    }
    for (auto _ : state) {
        World* world = startGame(1024, 768);
        world->renderMenu();
        glFinish();
    }
}

} // namespace

BENCHMARK(BM_PlayFrame)
    ->Args({1024, 768})
    ->Args({1280, 960})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime();
BENCHMARK(BM_PlayFrameWithMinimumFrameTime)
    ->Args({1024, 768})
    ->Args({1280, 960})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime();
BENCHMARK(BM_PlayFrameOptions)
    ->ArgNames({"details", "aniso", "shadows"})
    ->Args({2, 8, 1})
    ->Args({2, 1, 1})
    ->Args({0, 1, 1})
    ->Args({2, 8, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1)
    ->UseRealTime();
BENCHMARK(BM_PlayFrameScale)
    ->ArgNames({"w", "h", "percent"})
    ->ArgsProduct({{1024}, {768}, {100, 70, 50}})
    ->ArgsProduct({{1280}, {960}, {100, 70, 50}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Present)
    ->Args({1024, 768})
    ->Args({1280, 960})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->UseRealTime();
BENCHMARK(BM_StartUpToMenuFrame)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
