#pragma once

#include "platform/QtSingleApplication.h"

// The single-instance application of the game.
class GameApp : public tvt::QtSingleApplication {
    Q_OBJECT
public:
    GameApp(int& argc, char** argv, bool gui);

    // The whole program after the command line: the application, the single-instance check, the
    // window and the frame loop. Returns the exit code.
    static int run(int argc, char** argv);

    // Registers the score font and makes it stand in for "Arial Black"; returns its family or "".
    static QString registerFonts();

protected:
    QMainWindow* createMainWindow() override;
};
