// Feeds arbitrary bytes to the game's PNG reader. A refused file comes back as an error with the code
// the game exits with, a loaded one whole; a crash, a sanitizer report or a leak is a finding.
#include "render/Textures.h"

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

char inputPath[] = "/tmp/orbitrax-png-fuzz-XXXXXX";
int inputFd = -1;

} // namespace

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
    if (!image.ok()) {
        if (image.error.code != TextureImage::ReadErrorCode || image.error.message.empty() || image.pixels)
            std::abort();
        return 0;
    }
    if (!image.pixels || image.width == 0 || image.height == 0)
        std::abort();
    // Every byte of the RGBA rows can be read.
    volatile unsigned char last = image.pixels[static_cast<size_t>(image.width) * image.height * 4 - 1];
    (void)last;
    return 0;
}
