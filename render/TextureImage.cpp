#include "render/Textures.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

namespace {

// Larger pictures would only be scaled down again by the mipmap builder; refusing them keeps a
// corrupt header from asking for gigabytes.
constexpr png_uint_32 MaxSide = 8192;

// libpng's default would print and abort; jump back to the reader, which reports the file.
[[noreturn]] void pngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// What a read holds; released however the read ends.
struct PngFile {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
    png_bytep* rows = nullptr;

    ~PngFile() {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, endInfo ? &endInfo : nullptr);
        if (file)
            std::fclose(file);
        delete[] rows;
    }
};

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

// The libpng part of the read. A libpng error jumps back to the setjmp here, so this frame keeps
// nothing that needs a destructor: what it holds lives in f and image.
bool decode(PngFile& f, TextureImage& image) {
    if (setjmp(png_jmpbuf(f.png)))
        return false;
    png_init_io(f.png, f.file);
    png_set_sig_bytes(f.png, 8);
    png_set_user_limits(f.png, MaxSide, MaxSide);
    png_read_info(f.png, f.info);
    png_get_IHDR(f.png, f.info, &image.width, &image.height, &image.bitDepth, &image.colorType,
                 &image.interlaceType, &image.compressionType, &image.filterType);
    if (image.width == 0 || image.height == 0 || image.width > MaxSide || image.height > MaxSide)
        return false;
    requestRgba(f.png, f.info);
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    if (png_get_rowbytes(f.png, f.info) != rowBytes)
        return false;
    image.pixels.reset(new (std::nothrow) unsigned char[rowBytes * image.height]);
    f.rows = new (std::nothrow) png_bytep[image.height];
    if (!image.pixels || !f.rows)
        return false;
    for (png_uint_32 r = 0; r < image.height; ++r)
        f.rows[r] = image.pixels.get() + rowBytes * r;
    png_read_image(f.png, f.rows);
    png_read_end(f.png, f.endInfo);
    return true;
}

TextureError readError(const std::string& message) {
    return {message, TextureImage::ReadErrorCode};
}

TextureError read(const char* path, TextureImage& image) {
    PngFile f;
    f.file = std::fopen(path, "rb");
    if (!f.file)
        return readError("Error while loading '" + std::string(path) + "'\n");
    png_byte signature[8] = {};
    const size_t got = std::fread(signature, 1, sizeof signature, f.file);
    if (got < 4 || png_sig_cmp(signature, 0, 4) != 0)
        return readError("not png type " + std::string(path));
    f.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (!f.png)
        return readError("error while reading png_structp");
    f.info = png_create_info_struct(f.png);
    f.endInfo = f.info ? png_create_info_struct(f.png) : nullptr;
    if (!f.info || !f.endInfo)
        return readError("error while reading info_struct");
    if (!decode(f, image))
        return readError("Error while loading '" + std::string(path) + "'\n");
    return {};
}

} // namespace

TextureImage::TextureImage()
    : width(0), height(0), bitDepth(0), colorType(0), interlaceType(0), compressionType(0), filterType(0) {}

TextureImage::TextureImage(const char* path) : TextureImage() {
    error = read(path, *this);
    if (!ok()) {
        width = height = 0;
        pixels.reset();
    }
}

TextureImage::~TextureImage() = default;
