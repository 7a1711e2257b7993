#pragma once

#include "platform/QtSingleApplication.h"

#include <QSettings>

#include <memory>

// The game's application object, off screen in a throw-away home, whose settings store reads whatever
// the current fuzz input holds.
class FuzzApplication : public tvt::QtSingleApplication {
public:
    static FuzzApplication* app; // started by LLVMFuzzerInitialize
    static void start();
    // Writes the input as the settings file and gives the application a fresh store that reads it.
    void useStore(const uint8_t* data, size_t size);
    QSettings* settings() override { return current.get(); }

protected:
    QMainWindow* createMainWindow() override { return nullptr; }

private:
    using tvt::QtSingleApplication::QtSingleApplication;

    QString storePath;
    std::unique_ptr<QSettings> current;
};
