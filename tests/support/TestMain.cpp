// The one main of every test program: a throw-away home, settings store and runtime folder (unless a
// parent test chose them for a child), SDL's dummy audio driver, and the Qt application the program asks
// for through testApplication() (a QApplication unless a folder defines its own).
#include "TestMain.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

__attribute__((weak)) std::unique_ptr<QCoreApplication> testApplication(int& argc, char** argv) {
    return std::make_unique<QApplication>(argc, argv);
}

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!std::getenv("ORBITRAX_TEST_ROLE")) {
        const QByteArray path = home.path().toLocal8Bit();
        setenv("HOME", path.constData(), 1);
        setenv("XDG_CONFIG_HOME", (path + "/config").constData(), 1);
        setenv("XDG_RUNTIME_DIR", path.constData(), 1);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // Without an X server only the tests that need no OpenGL can run.
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    const auto app = testApplication(argc, argv);
    QCoreApplication::setOrganizationName("Torvik");
    QCoreApplication::setApplicationName("Torvik Orbitrax");
    return RUN_ALL_TESTS();
}
