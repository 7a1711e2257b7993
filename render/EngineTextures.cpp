#include "core/Engine.h"

#include "platform/SdlCompat.h"
#include "render/GLSetup.h"
#include "render/Textures.h"

#include <QOpenGLContext>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr float AnisotropyCap = 8.0f;

struct TextureRow {
    unsigned int* (*slot)(Engine*);
    const char* file;
    bool anisotropic;
};

// Loading order of the texture table; the sky pictures (Engine::spaceFiles) and the title follow.
constexpr TextureRow textureTable[] = {
    {[](Engine* e) { return &e->texFloorMap[0]; }, "textures/floormap.png", true},
    {[](Engine* e) { return &e->texFloorMap[1]; }, "textures/floormap1.png", true},
    {[](Engine* e) { return &e->texFloorMap[2]; }, "textures/floormap2.png", true},
    {[](Engine* e) { return &e->texFloorMap[3]; }, "textures/floormap3.png", true},
    {[](Engine* e) { return &e->texFloorMap[4]; }, "textures/floormap4.png", true},
    {[](Engine* e) { return &e->texMark; }, "textures/mark.png", false},
    {[](Engine* e) { return &e->texCube; }, "textures/cube.png", false},
    {[](Engine* e) { return &e->texTache; }, "textures/tache.png", false},
    {[](Engine* e) { return &e->texDeadTache; }, "textures/deadtache.png", false},
    {[](Engine* e) { return &e->texCamouflage; }, "textures/camouflage.png", false},
    {[](Engine* e) { return &e->texThunder; }, "textures/thunder.png", false},
    {[](Engine* e) { return &e->texEffect1; }, "textures/effect1.png", false},
    {[](Engine* e) { return &e->texChain; }, "textures/chain.png", false},
    {[](Engine* e) { return &e->texMyShip; }, "textures/myship.png", false},
    {[](Engine* e) { return &e->texPiege; }, "textures/piege.png", false},
    {[](Engine* e) { return &e->texBandit1; }, "textures/bandit1.png", false},
    {[](Engine* e) { return &e->texMissile; }, "textures/missile.png", false},
    {[](Engine* e) { return &e->texFighter2; }, "textures/fighter2.png", false},
    {[](Engine* e) { return &e->texBandit2; }, "textures/bandit2.png", false},
    {[](Engine* e) { return &e->texSphere; }, "textures/sphere.png", false},
    {[](Engine* e) { return &e->texSmoke[0]; }, "textures/fumee1.png", false},
    {[](Engine* e) { return &e->texSmoke[1]; }, "textures/fumee2.png", false},
    {[](Engine* e) { return &e->texSmoke[2]; }, "textures/fumee3.png", false},
    {[](Engine* e) { return &e->texGameOver; }, "textures/gameover.png", false},
    {[](Engine* e) { return &e->texBoard; }, "textures/board.png", false},
    {[](Engine* e) { return &e->texGalaxy; }, "textures/galaxy.png", false},
    {[](Engine* e) { return &e->texCapsule[0]; }, "textures/capsule_shield.png", false},
    {[](Engine* e) { return &e->texCapsule[2]; }, "textures/capsule_power.png", false},
    {[](Engine* e) { return &e->texCapsule[1]; }, "textures/capsule_bomb.png", false},
    {[](Engine* e) { return &e->texCapsule[3]; }, "textures/capsule_invul.png", false},
    {[](Engine* e) { return &e->texFloor[0]; }, "textures/floor.png", false},
    {[](Engine* e) { return &e->texChars; }, "textures/chars.png", true},
    {[](Engine* e) { return &e->texFloor[1]; }, "textures/floor1.png", true},
    {[](Engine* e) { return &e->texFloor[2]; }, "textures/floor2.png", true},
    {[](Engine* e) { return &e->texFloor[3]; }, "textures/floor3.png", true},
    {[](Engine* e) { return &e->texFloor[4]; }, "textures/floor4.png", true},
    {[](Engine* e) { return &e->texBorder; }, "textures/border2.png", true},
};

constexpr const char* TitleFile = "textures/vorn2.png";
constexpr uint32_t TileSide = 256;

// Filters of the textureFilter option: magnification, minification.
constexpr int filterTable[3][2] = {
    {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
    {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
    {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
};

// Tile k = 3r + c of the title picture; texels beyond the picture stay transparent black.
void cutTitleTile(const TextureImage& picture, uint32_t r, uint32_t c, TextureImage* tile) {
    tile->width = TileSide;
    tile->height = TileSide;
    tile->pixels = std::make_unique<unsigned char[]>(TileSide * TileSide * 4);
    const uint32_t x0 = TileSide * c;
    const uint32_t y0 = TileSide * r;
    if (x0 >= picture.width || y0 >= picture.height)
        return;
    const uint32_t columns = std::min(TileSide, picture.width - x0);
    const uint32_t rows = std::min(TileSide, picture.height - y0);
    for (uint32_t y = 0; y < rows; ++y) {
        const unsigned char* from =
            picture.pixels.get() + (static_cast<size_t>(y0 + y) * picture.width + x0) * 4;
        std::memcpy(tile->pixels.get() + static_cast<size_t>(y) * TileSide * 4, from, columns * 4);
    }
}

// The game cannot run without its pictures: the reader's message, then its exit code.
void exitOnError(const TextureImage& image) {
    if (image.ok())
        return;
    std::fputs(image.error.message.c_str(), stdout);
    std::fflush(stdout);
    std::exit(image.error.code);
}

// The title picture, cut into six tiles of TileSide: three columns, two rows.
void loadTitle(const std::string& path, unsigned int* tiles) {
    const TextureImage title(path.c_str());
    exitOnError(title);
    for (uint32_t k = 0; k < 6; ++k) {
        TextureImage tile;
        cutTitleTile(title, k / 3, k % 3, &tile);
        uploadTexture(tile, &tiles[k]);
    }
}

} // namespace

bool hasExtension(const char* name, const char* extensions) {
    if (!name || !extensions || *name == '\0' || std::strchr(name, ' '))
        return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + length, name)) {
        const bool startsWord = at == extensions || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

bool hasExtension(const char* name) {
    return hasExtension(name, reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
}

void Engine::probeCapabilities() {
    sdlq::makeGameContextCurrent();
    hasCombineDot3 = hasExtension("GL_ARB_texture_env_dot3") && hasExtension("GL_ARB_texture_env_combine");
    hasCubeMap = hasExtension("GL_ARB_texture_cube_map");
    hasSeparateSpecular = hasExtension("GL_EXT_separate_specular_color");
    maxAnisotropy = 0.0f;
    if (hasExtension("GL_EXT_texture_filter_anisotropic")) {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy);
        if (maxAnisotropy > AnisotropyCap)
            maxAnisotropy = AnisotropyCap;
    }
}

void Engine::loadTexture(unsigned int* name, const char* file) {
    const std::string path = resourcePath(file);
    const TextureImage image(path.c_str());
    exitOnError(image);
    uploadTexture(image, name);
}

std::vector<TextureFile> Engine::textureFiles() {
    std::vector<TextureFile> files;
    for (const TextureRow& row : textureTable)
        files.push_back({row.file, row.slot(this), 1, row.anisotropic});
    for (int k = 0; k < 4; ++k)
        files.push_back({spaceFiles[k], &texSpace[k], 1, false});
    files.push_back({TitleFile, texTitle, 6, false});
    return files;
}

void Engine::loadTextures() {
    for (const TextureFile& row : textureFiles()) {
        if (row.tiles > 1) {
            loadTitle(resourcePath(row.file), row.names);
            continue;
        }
        loadTexture(row.names, row.file);
        if (row.names == &texBorder) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        if (row.anisotropic && maxAnisotropy > 0.0f)
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maxAnisotropy);
    }
}

void Engine::applyFilterOption(int filter) {
    if (filter < 0 || filter > 2)
        return;
    applyTextureFilter(filterTable[filter][0], filterTable[filter][1]);
}

void Engine::freeTextures() {
    const bool current = QOpenGLContext::currentContext() != nullptr;
    auto release = [current](unsigned int* names, int count) {
        for (int k = 0; k < count; ++k) {
            if (current && names[k])
                glDeleteTextures(1, &names[k]);
            names[k] = 0;
        }
    };
    release(&texChars, 1);
    release(texTitle, 6);
    release(texSmoke, 3);
    release(&texCube, 1);
    release(texFloor, 5);
    release(texFloorMap, 5);
    for (unsigned int* single : {&texBandit1, &texBandit2, &texMyShip, &texPiege, &texChain, &texCamouflage,
                                 &texTache, &texDeadTache, &texSphere, &texGameOver, &texBoard, &texGalaxy,
                                 &texBorder, &texMark, &texThunder, &texEffect1, &texMissile, &texFighter2})
        release(single, 1);
    release(texCapsule, 4);
    release(texSpace, 4);
}
