// Renderer tests. GL tests draw into an FBO of their own offscreen context and need an X display
// (xvfb-run); without one they are skipped. "--read-png FILE" makes this binary the child process of
// the reader's failure tests.
#include "render/Textures.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--read-png") == 0) {
        const TextureImage image(argv[2]);
        std::printf("%ux%u %02x%02x%02x%02x", image.width, image.height, image.pixels[0], image.pixels[1],
                    image.pixels[2], image.pixels[3]);
        return 0;
    }
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
