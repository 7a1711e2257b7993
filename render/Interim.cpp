// Interim stand-ins until the renderer lands: every pass clears the screen and swaps.
#include "core/Engine.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "render/Textures.h"

#include <GL/gl.h>

TextureImage::TextureImage()
    : width(0), height(0), bitDepth(0), colorType(0), interlaceType(0), compressionType(0), filterType(0) {}
TextureImage::TextureImage(const char*) : TextureImage() {}
TextureImage::~TextureImage() = default;
void uploadTexture(const TextureImage&, unsigned int* name) {
    *name = 0;
}
void setTextureFilter(unsigned int, int, int) {}
void applyTextureFilter(int, int) {}
void applyAnisotropy(int) {}

void Engine::probeCapabilities() {}
void Engine::loadTexture(unsigned int*, const char*) {}
void Engine::loadTextures() {}
void Engine::applyFilterOption(int) {}
void Engine::freeTextures() {}

namespace {
void clearAndSwap() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sdlq::glSwapBuffers();
}
} // namespace

void World::initGL() {}
void World::renderMenu() {
    clearAndSwap();
}
void World::renderPlay() {
    clearAndSwap();
}
void World::renderCreditsScene() {
    clearAndSwap();
}
void World::renderPanelScene() {
    clearAndSwap();
}
void World::toggleFog() {
    fogOn = !fogOn;
}
void World::toggleSpecular() {
    specularOn = !specularOn;
}
void World::drawSky() {}
void World::drawFloor() {}
void World::drawShadowPass(bool) {}
void World::drawHud() {}
