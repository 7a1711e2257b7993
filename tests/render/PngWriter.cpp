#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

int channelsOf(int colorType) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

// Packs one row of samples at the layout's bit depth (big-endian for 16 bits, MSB first below 8).
std::vector<png_byte> packRow(const PngLayout& layout, uint32_t row) {
    const int channels = channelsOf(layout.colorType);
    const size_t count = static_cast<size_t>(layout.width) * channels;
    const uint16_t* in = layout.samples.data() + row * count;
    std::vector<png_byte> out((count * layout.bitDepth + 7) / 8);
    for (size_t i = 0; i < count; ++i) {
        if (layout.bitDepth == 16) {
            out[2 * i] = static_cast<png_byte>(in[i] >> 8);
            out[2 * i + 1] = static_cast<png_byte>(in[i] & 0xff);
        } else if (layout.bitDepth == 8) {
            out[i] = static_cast<png_byte>(in[i]);
        } else {
            const size_t bit = i * layout.bitDepth;
            out[bit / 8] |= static_cast<png_byte>(in[i] << (8 - layout.bitDepth - bit % 8));
        }
    }
    return out;
}

} // namespace

bool writePng(const std::string& path, const PngLayout& layout) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (layout.colorType == PNG_COLOR_TYPE_PALETTE) {
        std::vector<png_color> colors(layout.palette.size() / 3);
        for (size_t k = 0; k < colors.size(); ++k)
            colors[k] = {layout.palette[3 * k], layout.palette[3 * k + 1], layout.palette[3 * k + 2]};
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
        if (!layout.paletteAlpha.empty())
            png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()),
                         nullptr);
    }
    png_write_info(png, info);
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_bytep> pointers;
    for (uint32_t r = 0; r < layout.height; ++r)
        rows.push_back(packRow(layout, r));
    for (auto& row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

bool writeSolidPng(const std::string& path, uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    for (uint32_t i = 0; i < width * height; ++i)
        layout.samples.insert(layout.samples.end(), {r, g, b, a});
    return writePng(path, layout);
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
