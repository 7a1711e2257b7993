#pragma once

#include "platform/QtSingleApplication.h"

// The single-instance application of the game.
class GameApp : public tvt::QtSingleApplication {
    Q_OBJECT
public:
    GameApp(int& argc, char** argv, bool gui);

protected:
    QMainWindow* createMainWindow() override;
};
