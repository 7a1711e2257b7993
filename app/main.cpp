#include "app/GameApp.h"
#include "core/Game.h"
#include "platform/SdlCompat.h"

int main(int argc, char** argv) {
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
