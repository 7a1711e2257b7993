// Feeds arbitrary bytes to the game's PNG reader. The reader ends the process with exit code 12 on
// any bad file; here the link wraps exit() (and what the reader holds when it stops: its file, its
// libpng structures, its arrays) so that a refused file returns to the fuzzer and is cleaned up.
// A crash, a sanitizer report or any other exit code is a finding.
#include "render/Textures.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <unistd.h>
#include <vector>

extern "C" {
[[noreturn]] void __real_exit(int code);
std::FILE* __real_fopen(const char* path, const char* mode);
png_structp __real_png_create_read_struct(png_const_charp version, png_voidp errorData, png_error_ptr onError,
                                          png_error_ptr onWarning);
png_infop __real_png_create_info_struct(png_const_structrp png);
void __real_png_destroy_read_struct(png_structpp png, png_infopp info, png_infopp endInfo);
void* __real__ZnamRKSt9nothrow_t(std::size_t size, const std::nothrow_t& tag) noexcept;
}

namespace {

constexpr int TextureExitCode = 12;

// What the reader holds while it runs.
struct Held {
    bool reading = false;
    std::jmp_buf escape;
    int exitCode = 0;
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop infos[2] = {nullptr, nullptr};
    std::vector<void*> arrays;
};

Held held;
char inputPath[] = "/tmp/orbitrax-png-fuzz-XXXXXX";
int inputFd = -1;

void writeInput(const uint8_t* data, size_t size) {
    if (ftruncate(inputFd, 0) != 0 || pwrite(inputFd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
}

// After a refused file: release what the reader left behind, as the process end would have.
void releaseHeld(TextureImage* image) {
    image->pixels.release(); // one of the arrays below
    image->~TextureImage();
    for (void* array : held.arrays)
        ::operator delete[](array);
    if (held.png) {
        png_infop* info = held.infos[0] ? &held.infos[0] : nullptr;
        png_infop* endInfo = held.infos[1] ? &held.infos[1] : nullptr;
        __real_png_destroy_read_struct(&held.png, info, endInfo);
    }
    if (held.file)
        std::fclose(held.file);
}

} // namespace

extern "C" [[noreturn]] void __wrap_exit(int code) {
    if (!held.reading)
        __real_exit(code);
    held.reading = false;
    held.exitCode = code;
    std::longjmp(held.escape, 1);
}

extern "C" std::FILE* __wrap_fopen(const char* path, const char* mode) {
    std::FILE* file = __real_fopen(path, mode);
    if (held.reading)
        held.file = file;
    return file;
}

extern "C" png_structp __wrap_png_create_read_struct(png_const_charp version, png_voidp errorData,
                                                     png_error_ptr onError, png_error_ptr onWarning) {
    png_structp png = __real_png_create_read_struct(version, errorData, onError, onWarning);
    if (held.reading)
        held.png = png;
    return png;
}

extern "C" png_infop __wrap_png_create_info_struct(png_const_structrp png) {
    png_infop info = __real_png_create_info_struct(png);
    if (held.reading)
        held.infos[held.infos[0] ? 1 : 0] = info;
    return info;
}

extern "C" void __wrap_png_destroy_read_struct(png_structpp png, png_infopp info, png_infopp endInfo) {
    __real_png_destroy_read_struct(png, info, endInfo);
    if (held.reading) {
        held.png = nullptr;
        held.infos[0] = held.infos[1] = nullptr;
    }
}

extern "C" void* __wrap__ZnamRKSt9nothrow_t(std::size_t size, const std::nothrow_t& tag) noexcept {
    void* array = __real__ZnamRKSt9nothrow_t(size, tag);
    if (held.reading && array)
        held.arrays.push_back(array);
    return array;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    inputFd = mkstemp(inputPath);
    if (inputFd < 0)
        std::abort();
    std::atexit([] { unlink(inputPath); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    held = Held{};
    held.arrays.reserve(4);
    alignas(TextureImage) unsigned char storage[sizeof(TextureImage)];
    auto* image = reinterpret_cast<TextureImage*>(storage);
    if (setjmp(held.escape) == 0) {
        held.reading = true;
        new (storage) TextureImage(inputPath);
        held.reading = false;
        // A picture that loads is whole: every byte of its RGBA rows can be read.
        if (!image->pixels || image->width == 0 || image->height == 0)
            std::abort();
        const size_t bytes = static_cast<size_t>(image->width) * image->height * 4;
        volatile unsigned char sum = image->pixels[0] ^ image->pixels[bytes - 1];
        (void)sum;
        image->~TextureImage();
        return 0;
    }
    if (held.exitCode != TextureExitCode)
        std::abort();
    releaseHeld(image);
    return 0;
}
