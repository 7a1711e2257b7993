// Cost of showing a finished game frame in the window: read-back into the raster view, or blit
// from the shared texture in the view's GL context. Needs an X display (xvfb-run); skips without.
#include "platform/GameSurface.h"
#include "platform/SDL_QMainWindow.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

class BenchWindow : public SDL_QMainWindow {
public:
    BenchWindow() { setCentralWidget(new SDL_QWidget(this)); }
};

BenchWindow* benchWindow() {
    static int argc = 1;
    static char name[] = "bench_PresentBench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = nullptr;
    static BenchWindow* window = nullptr;
    if (!app) {
        sdlq::prepareApplication();
        app = new QApplication(argc, argv);
        window = new BenchWindow();
        window->show();
        window->raise();
        window->activateWindow();
    }
    return window;
}

void settle(QWidget* viewport, QSize size) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000 && viewport->size() != size) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    for (int k = 0; k < 20; ++k)
        QCoreApplication::processEvents();
}

void present(benchmark::State& state, sdlq::Present mode) {
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        state.SkipWithError("needs an X display");
        return;
    }
    BenchWindow* window = benchWindow();
    sdlq::setPresentMode(mode);
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!sdlq::setVideoMode(size.width(), size.height(), 0, sdlq::OpenGLFlag)) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    settle(window->getSDLWidget()->viewport(), size);
    GameSurface* surface = GameSurface::instance();
    const int forcedBefore = surface->forcedPaintCount();
    sdlq::Event event;
    int frame = 0;
    for (auto _ : state) {
        // A fresh frame each time, finished before the clock starts: only the present is timed.
        sdlq::makeGameContextCurrent();
        glClearColor((frame++ % 8) / 8.0f, 0.2f, 0.4f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        sdlq::glSwapBuffers();
        while (sdlq::pollEvent(&event)) {
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["forced"] = surface->forcedPaintCount() - forcedBefore;
    state.SetLabel(sdlq::rendererName());
}

BENCHMARK_CAPTURE(present, readback, sdlq::Present::ReadBack)
    ->Args({1024, 768})
    ->Args({1280, 960})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(present, blit, sdlq::Present::Blit)
    ->Args({1024, 768})
    ->Args({1280, 960})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
