#pragma once

#include <cstdint>
#include <memory>

// A decoded picture: always 8-bit RGBA, rows in file order.
class TextureImage {
public:
    TextureImage();
    // Reads the PNG at path; any failure prints its message and ends the process with exit code 12.
    explicit TextureImage(const char* path);
    ~TextureImage();

    uint32_t width;
    uint32_t height;
    int bitDepth;
    int colorType;
    int interlaceType;
    int compressionType;
    int filterType;
    std::unique_ptr<unsigned char[]> pixels;
};

void uploadTexture(const TextureImage& image, unsigned int* name);
void setTextureFilter(unsigned int name, int magFilter, int minFilter);
void applyTextureFilter(int magFilter, int minFilter);
void applyAnisotropy(int level);
