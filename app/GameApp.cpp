#include "app/GameApp.h"

#include "app/GameWindow.h"

GameApp::GameApp(int& argc, char** argv, bool gui)
    : tvt::QtSingleApplication(argc, argv, gui, QStringLiteral("/Library/Preferences")) {
    setOrganizationName("Torvik");
    setOrganizationDomain("torvik.example");
    setApplicationName("Torvik Orbitrax");
    setApplicationVersion(ORBITRAX_VERSION);
}

QMainWindow* GameApp::createMainWindow() {
    return new GameWindow();
}
