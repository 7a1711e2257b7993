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

// Packs one row of samples at the spec's bit depth (big-endian for 16 bits, MSB first below 8).
std::vector<png_byte> packRow(const PngSpec& spec, uint32_t row) {
    const int channels = channelsOf(spec.colorType);
    const size_t count = static_cast<size_t>(spec.width) * channels;
    const uint16_t* in = spec.samples.data() + row * count;
    std::vector<png_byte> out((count * spec.bitDepth + 7) / 8);
    for (size_t i = 0; i < count; ++i) {
        if (spec.bitDepth == 16) {
            out[2 * i] = static_cast<png_byte>(in[i] >> 8);
            out[2 * i + 1] = static_cast<png_byte>(in[i] & 0xff);
        } else if (spec.bitDepth == 8) {
            out[i] = static_cast<png_byte>(in[i]);
        } else {
            const size_t bit = i * spec.bitDepth;
            out[bit / 8] |= static_cast<png_byte>(in[i] << (8 - spec.bitDepth - bit % 8));
        }
    }
    return out;
}

} // namespace

bool writePng(const std::string& path, const PngSpec& spec) {
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
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
        std::vector<png_color> colors(spec.palette.size() / 3);
        for (size_t k = 0; k < colors.size(); ++k)
            colors[k] = {spec.palette[3 * k], spec.palette[3 * k + 1], spec.palette[3 * k + 2]};
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
        if (!spec.paletteAlpha.empty())
            png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()),
                         nullptr);
    }
    png_write_info(png, info);
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_bytep> pointers;
    for (uint32_t r = 0; r < spec.height; ++r)
        rows.push_back(packRow(spec, r));
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
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    for (uint32_t i = 0; i < width * height; ++i)
        spec.samples.insert(spec.samples.end(), {r, g, b, a});
    return writePng(path, spec);
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
