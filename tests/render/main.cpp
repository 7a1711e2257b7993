// "--read-png FILE" makes this binary the child process of the reader's failure tests.
#include "TestMain.h"

#include "render/Textures.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::unique_ptr<QCoreApplication> testApplication(int& argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--read-png") == 0) {
        const TextureImage image(argv[2]);
        std::printf("%ux%u %02x%02x%02x%02x", image.width, image.height, image.pixels[0], image.pixels[1],
                    image.pixels[2], image.pixels[3]);
        std::exit(0);
    }
    return std::make_unique<QApplication>(argc, argv);
}
