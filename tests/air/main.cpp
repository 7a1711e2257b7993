// Flying and armoured enemy tests. Most are headless; the scene tests draw into an offscreen GL context of
// their own and need an X display (xvfb-run) and the game's pictures; without them they are skipped.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
