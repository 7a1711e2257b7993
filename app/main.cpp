#include "app/GameApp.h"
#include "core/Game.h"

int main(int argc, char** argv) {
    auto* app = new GameApp(argc, argv, true);
    if (!app->isRunning()) {
        app->newMainWindow();
        runGame(argc, argv);
    }
    delete app;
    return 0;
}
