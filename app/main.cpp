#include "app/GameApp.h"
#include "core/Game.h"
#include "platform/CommandLine.h"
#include "platform/SdlCompat.h"

#include <cstdio>

int main(int argc, char** argv) {
    // --help and --version answer before any window or single-instance check.
    const int answered = CommandLine::answer(argc, argv, stdout);
    if (answered >= 0)
        return answered;
    // The GL format and context sharing must be settled before the application exists.
    sdlq::prepareApplication();
    auto* app = new GameApp(argc, argv, true);
    if (!app->isRunning()) {
        app->newMainWindow();
        runGame(argc, argv);
    }
    delete app;
    return 0;
}
