#pragma once

#include "platform/QtSingleApplication.h"

#include <QString>

class QSettings;

// The game's application object, off screen, whose settings store is whichever file the current
// fuzz input was written to.
class FuzzApplication : public tvt::QtSingleApplication {
public:
    // Sets up a throw-away home, runtime folder and the off-screen platform, then the application.
    static FuzzApplication* start();

    // Writes the input as the settings file and makes a fresh store read it.
    QSettings* useStore(const char* data, size_t size);
    void dropStore();

    QSettings* settings() override;

protected:
    QMainWindow* createMainWindow() override;

private:
    FuzzApplication(int& argc, char** argv);

    QString storePath;
    QSettings* current = nullptr;
};
