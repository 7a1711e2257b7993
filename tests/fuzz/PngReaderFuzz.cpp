// Feeds arbitrary bytes to the game's PNG reader. A refused file comes back as an error with the code
// the game exits with, a loaded one whole; a crash, a sanitizer report or a leak is a finding.
#include "render/Textures.h"

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

static char inputPath[] = "/tmp/orbitrax-png-fuzz-XXXXXX";
static int inputFd = -1;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    inputFd = mkstemp(inputPath);
    if (inputFd < 0)
        std::abort();
    std::atexit([] { unlink(inputPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (ftruncate(inputFd, 0) != 0 || pwrite(inputFd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    const TextureImage image(inputPath);
    if (image.ok()
            ? !image.pixels || image.width == 0 || image.height == 0
            : image.error.code != TextureImage::ReadErrorCode || image.error.message.empty() || image.pixels)
        std::abort();
    // Every byte of the RGBA rows can be read.
    if (image.ok())
        static_cast<void>(*static_cast<volatile unsigned char*>(
            &image.pixels[static_cast<size_t>(image.width) * image.height * 4 - 1]));
    return 0;
}
