#include "render/GLSetup.h"

#include "core/Engine.h"
#include "core/World.h"

#include <QOpenGLContext>

ActiveTextureProc activeTextureFn = nullptr;
MultiTexCoord2fProc multiTexCoord2fFn = nullptr;

namespace {

constexpr float FogStart = 35.0f;
constexpr float FogEnd = 65.0f;
constexpr float FogDensity = 0.022f;
constexpr float Shininess = 64.0f;

// Through the current Qt context when there is one, else the library's own entry points.
void lookUpMultitexture() {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context) {
        activeTextureFn = reinterpret_cast<ActiveTextureProc>(context->getProcAddress("glActiveTexture"));
        multiTexCoord2fFn =
            reinterpret_cast<MultiTexCoord2fProc>(context->getProcAddress("glMultiTexCoord2f"));
    } else {
        activeTextureFn = &glActiveTexture;
        multiTexCoord2fFn = &glMultiTexCoord2f;
    }
}

void setLinearFog(const Engine* e) {
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, FogStart);
    glFogf(GL_FOG_END, FogEnd);
    glFogfv(GL_FOG_COLOR, e->colorBlack);
}

} // namespace

void World::initGL() {
    const Engine* e = Engine::instance();
    glClearColor(0, 0, 0, 1);
    glEnable(GL_FOG);
    fogOn = 1;
    setLinearFog(e);
    glEnable(GL_NORMALIZE);
    specularOn = 1;
    glMaterialfv(GL_FRONT, GL_AMBIENT, e->colorGrey);
    glMaterialfv(GL_FRONT, GL_SPECULAR, e->colorWhite);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, e->colorWhite);
    glMaterialf(GL_FRONT, GL_SHININESS, Shininess);
    glLightfv(GL_LIGHT0, GL_AMBIENT, e->colorGrey);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, e->colorWhite);
    glLightfv(GL_LIGHT0, GL_SPECULAR, e->colorWhite);
    glLightfv(GL_LIGHT0, GL_POSITION, e->lightPosition);
    if (hasExtension("GL_EXT_separate_specular_color"))
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    lookUpMultitexture();
}

void World::toggleFog() {
    const Engine* e = Engine::instance();
    if (fogOn == 1) {
        fogOn = 0;
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, FogDensity);
        glFogfv(GL_FOG_COLOR, e->colorBlack);
    } else {
        fogOn = 1;
        setLinearFog(e);
    }
}

void World::toggleSpecular() {
    const Engine* e = Engine::instance();
    specularOn = specularOn ? 0 : 1;
    const float* specular = specularOn ? e->colorWhite : e->colorBlack;
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
}
