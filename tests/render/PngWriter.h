#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes test pictures in any PNG layout through libpng.
struct PngLayout {
    uint32_t width = 4;
    uint32_t height = 4;
    int colorType = 6; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    // Samples row-major, one value per channel of the colour type (palette: indices), already at bitDepth.
    std::vector<uint16_t> samples;
    // Palette entries (RGB) and the alpha of the first entries, for colour type 3.
    std::vector<uint8_t> palette;
    std::vector<uint8_t> paletteAlpha;
};

bool writePng(const std::string& path, const PngLayout& layout);
// A picture of one colour, 8-bit RGBA.
bool writeSolidPng(const std::string& path, uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a);
// Reads a file or writes bytes, for hand-made broken files.
std::vector<uint8_t> readBytes(const std::string& path);
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
