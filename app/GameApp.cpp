#include "app/GameApp.h"

#include "app/GameWindow.h"
#include "core/Game.h"
#include "platform/SdlCompat.h"

#include <QFont>
#include <QFontDatabase>
#include <QIcon>

int GameApp::run(int argc, char** argv) {
    // The GL format and context sharing must be settled before the application exists.
    sdlq::prepareApplication();
    auto* app = new GameApp(argc, argv, true);
    if (!app->isRunning()) {
        sdlq::catchQuitSignals();
        app->newMainWindow();
        runGame(argc, argv);
    }
    delete app;
    return 0;
}

GameApp::GameApp(int& argc, char** argv, bool gui)
    : tvt::QtSingleApplication(argc, argv, gui, QStringLiteral("/Library/Preferences")) {
    setOrganizationName("Torvik");
    setOrganizationDomain("torvik.example");
    setApplicationName("Torvik Orbitrax");
    setApplicationVersion(ORBITRAX_VERSION);
    setWindowIcon(QIcon(QStringLiteral(":/icons/orbitrax.png")));
    registerFonts();
}

QMainWindow* GameApp::createMainWindow() {
    return new GameWindow();
}

QString GameApp::registerFonts() {
    // The score table is designed for a heavy face; ours stands in wherever that one is missing.
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/ScoreFont.ttf"));
    const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
    if (families.isEmpty())
        return QString();
    QFont::insertSubstitution(QStringLiteral("Arial Black"), families.first());
    return families.first();
}
