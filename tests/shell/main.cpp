// Main window tests: offscreen Qt, a throw-away settings store, one application for all cases.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Torvik");
    QCoreApplication::setApplicationName("Torvik Orbitrax");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
