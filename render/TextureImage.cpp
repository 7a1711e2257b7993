#include "render/Textures.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Larger pictures would only be scaled down again by the mipmap builder; refusing them keeps a
// corrupt header from asking for gigabytes.
constexpr png_uint_32 MaxSide = 8192;

[[noreturn]] void fail(const char* format, const char* path) {
    std::printf(format, path);
    std::fflush(stdout);
    std::exit(12);
}

// libpng's default would print and abort; jump back to the reader, which reports the file.
[[noreturn]] void pngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit RGBA whatever the file holds: palette, grey, 16-bit and interlaced included.
void requestRgba(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

} // namespace

TextureImage::TextureImage()
    : width(0), height(0), bitDepth(0), colorType(0), interlaceType(0), compressionType(0), filterType(0) {}

TextureImage::TextureImage(const char* path) : TextureImage() {
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        fail("Error while loading '%s'\n", path);
    png_byte signature[8] = {};
    const size_t got = std::fread(signature, 1, sizeof signature, file);
    if (got < 4 || png_sig_cmp(signature, 0, 4) != 0)
        fail("not png type %s", path);

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (!png)
        fail("error while reading png_structp", path);
    png_infop info = png_create_info_struct(png);
    png_infop endInfo = info ? png_create_info_struct(png) : nullptr;
    if (!info || !endInfo) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        fail("error while reading info_struct", path);
    }
    png_bytep* rows = nullptr;
    if (setjmp(png_jmpbuf(png)))
        fail("Error while loading '%s'\n", path);

    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, MaxSide, MaxSide);
    png_read_info(png, info);
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlaceType, &compressionType,
                 &filterType);
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide)
        fail("Error while loading '%s'\n", path);
    requestRgba(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4)
        fail("Error while loading '%s'\n", path);

    const size_t rowBytes = static_cast<size_t>(width) * 4;
    pixels.reset(new (std::nothrow) unsigned char[rowBytes * height]);
    rows = new (std::nothrow) png_bytep[height];
    if (!pixels || !rows)
        fail("Error while loading '%s'\n", path);
    for (png_uint_32 r = 0; r < height; ++r)
        rows[r] = pixels.get() + rowBytes * r;
    png_read_image(png, rows);
    png_read_end(png, endInfo);

    png_destroy_read_struct(&png, &info, &endInfo);
    std::fclose(file);
    delete[] rows;
}

TextureImage::~TextureImage() = default;
