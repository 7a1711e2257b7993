#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Why a picture could not be read: the text the game prints and the code it then exits with.
struct TextureError {
    std::string message;
    int code = 0;
};

// A decoded picture: always 8-bit RGBA, rows in file order.
class TextureImage {
public:
    // The exit code of a game that cannot read one of its textures.
    static constexpr int ReadErrorCode = 12;

    TextureImage();
    // Reads the PNG at path; on any failure the picture stays empty and error says why.
    explicit TextureImage(const char* path);
    ~TextureImage();

    bool ok() const { return error.code == 0; }

    uint32_t width;
    uint32_t height;
    int bitDepth;
    int colorType;
    int interlaceType;
    int compressionType;
    int filterType;
    std::unique_ptr<unsigned char[]> pixels;
    TextureError error;
};

// One texture file of the engine and the Engine field(s) its texture names go to.
struct TextureFile {
    const char* file;
    unsigned int* names;
    int tiles;        // names filled: 1, or 6 for the title picture cut into tiles
    bool anisotropic; // large surfaces seen at a slant, sharpened when the driver can
};

void uploadTexture(const TextureImage& image, unsigned int* name);
void setTextureFilter(unsigned int name, int magFilter, int minFilter);
void applyTextureFilter(int magFilter, int minFilter);
void applyAnisotropy(int level);
