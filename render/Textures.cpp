#include "render/Textures.h"

#include "core/Engine.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

void uploadTexture(const TextureImage& image, unsigned int* name) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, name);
    glBindTexture(GL_TEXTURE_2D, *name);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, static_cast<GLint>(image.width),
                      static_cast<GLint>(image.height), GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.get());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void setTextureFilter(unsigned int name, int magFilter, int minFilter) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(magFilter));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(minFilter));
}

// Only the large, often minified surfaces follow the filter option; models keep trilinear.
void applyTextureFilter(int magFilter, int minFilter) {
    const Engine* e = Engine::instance();
    for (int k = 0; k < 5; ++k) {
        setTextureFilter(e->texFloor[k], magFilter, minFilter);
        setTextureFilter(e->texFloorMap[k], magFilter, minFilter);
    }
    setTextureFilter(e->texBorder, magFilter, minFilter);
    setTextureFilter(e->texMark, magFilter, minFilter);
    setTextureFilter(e->texTache, magFilter, minFilter);
    for (unsigned int smoke : e->texSmoke)
        setTextureFilter(smoke, magFilter, minFilter);
    for (unsigned int space : e->texSpace)
        setTextureFilter(space, magFilter, minFilter);
}

// Level 0 means "off", which GL spells 1; without the extension there is nothing to set.
void applyAnisotropy(int level) {
    const Engine* e = Engine::instance();
    if (e->maxAnisotropy <= 0.0f)
        return;
    const GLfloat value = level < 1 ? 1.0f : static_cast<GLfloat>(level);
    auto apply = [value](unsigned int name) {
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, value);
    };
    for (int k = 0; k < 5; ++k) {
        apply(e->texFloor[k]);
        apply(e->texFloorMap[k]);
    }
    apply(e->texBorder);
}
