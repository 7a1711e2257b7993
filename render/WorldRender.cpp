#include "render/Camera.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"
#include "render/GlState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

float camX = 0.0f;
float camZ = 0.0f;
float camRoll = 0.0f;

namespace {

constexpr double DesignAspect = 1.333333;
constexpr double TopViewAspect = 0.8;
constexpr double FieldOfView = 50.0;
constexpr float GlideStep = 0.02f;
constexpr float GlideDepth = 12.0f;
constexpr int MenuShipList = 3;

void perspective(const Engine* e, double designAspect, double zNear, double zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, aspectFor(designAspect, e->screenWidth, e->screenHeight), zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void orthoUnitSquare(double zNear, double zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The whole frame, in device pixels on a HiDPI screen; projections keep the logical size.
void frameViewport(const Engine* e) {
    const QSize pixels = sdlq::framePixels(e->screenWidth, e->screenHeight);
    glViewport(0, 0, pixels.width(), pixels.height());
}

// The sky, floor and sprites draw at the render scale's share of the frame, then go up into the
// whole frame; what follows them (head-up display, text) draws at the frame's own size.
void beginScene(const Engine* e) {
    const QSize pixels = sdlq::beginScene(e->screenWidth, e->screenHeight, e->renderScale.percent());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | (e->shadows ? GL_STENCIL_BUFFER_BIT : 0));
    glViewport(0, 0, pixels.width(), pixels.height());
}

void endScene(const Engine* e) {
    sdlq::endScene();
    frameViewport(e);
}

// The title picture spans the window's width at its own aspect, centred on the window's height: a
// wider window shows less of its sky and planet, a taller one a dark margin above and below.
void projectTitle(const Engine* e) {
    const int w = e->screenWidth, h = e->screenHeight;
    if (w <= 0 || h <= 0 || w * 3 == h * 4)
        return orthoUnitSquare(-10, 10);
    const double halfHeight = 0.5 * (4.0 / 3.0) * h / w;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0.5 - halfHeight, 0.5 + halfHeight, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void drawTitle(const Engine* e) {
    glNormal3f(0, 1, 0);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            const float left = 0.4f * static_cast<float>(c);
            const float right = 0.4f * static_cast<float>(c + 1) + 0.0007f;
            const float top = 1.0f - 0.533333f * static_cast<float>(r);
            const float bottom = 0.999f - 0.5333333f * static_cast<float>(r + 1);
            glBindTexture(GL_TEXTURE_2D, e->texTitle[3 * r + c]);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex3f(left, top, 5);
            glTexCoord2f(0, 1);
            glVertex3f(left, bottom, 5);
            glTexCoord2f(1, 1);
            glVertex3f(right, bottom, 5);
            glTexCoord2f(1, 0);
            glVertex3f(right, top, 5);
            glEnd();
        }
    }
}

void drawMenuShip(const Engine* e) {
    glTranslatef(1.2f, -0.5f, 0);
    glRotatef(e->menuAngle, 0, 1, 0);
    glBindTexture(GL_TEXTURE_2D, e->texMyShip);
    GlState::apply(GlState::Texture2D);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, e->colorWhite);
    if (e->hasSeparateSpecular)
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SINGLE_COLOR);
    glCallList(MyShip::listBase() + MenuShipList);
    if (e->hasSeparateSpecular)
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
}

void placeCamera(const Engine* e) {
    if (e->cameraMode == 1) {
        perspective(e, DesignAspect, 2, 160);
        gluLookAt(0.9 * camX, 3 + camZ / 3, -2, camX, 0.4, 7 + camZ / 2.5, 0.25 * camRoll, 1 - 0.25 * camRoll,
                  0);
    } else if (e->cameraMode == 2) {
        perspective(e, TopViewAspect, 3, 100);
        const double depth = 21 - 0.2 * (21 - camZ);
        gluLookAt(0.2 * camX, 36, depth, 0.2 * camX, 0, depth, 0, 0, 1);
    }
}

// Sky, then the floor; with shadows on the floor marks its pixels with stencil 1.
void drawScenery(World* world, const Engine* e) {
    glPushMatrix();
    glColor4f(1, 1, 1, 1);
    world->drawSky();
    if (e->shadows) {
        GlState::apply(GlState::StencilTest);
        glStencilFunc(GL_ALWAYS, 1, 1);
        glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
        world->drawFloor();
        GlState::apply(GlState::Lighting, GlState::StencilTest);
    } else {
        GlState::apply(GlState::Lighting);
        world->drawFloor();
    }
    glPopMatrix();
}

// What the Qt screens over a background scene expect to find.
void sceneEndState() {
    orthoUnitSquare(-1, 1);
    GlState::apply(GlState::Blend | GlState::Texture2D, GlState::Lighting);
    glDepthFunc(GL_LEQUAL);
    GlState::checkErrors("scene");
}

} // namespace

double aspectFor(double designAspect, int width, int height) {
    if (width <= 0 || height <= 0)
        return designAspect;
    return designAspect * (static_cast<double>(width) / height) / (4.0 / 3.0);
}

void trackCamera(MyShip* ship) {
    if (ship) {
        camX = ship->getX();
        camZ = ship->getZ();
        camRoll = ship->vx;
        return;
    }
    if (camX < -0.01f)
        camX += GlideStep;
    else if (camX <= 0.01f)
        camX = 0.0f;
    else
        camX -= GlideStep;
    if (camZ < GlideDepth)
        camZ += GlideStep;
}

void World::renderMenu() {
    const Engine* e = Engine::instance();
    glColor4f(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    frameViewport(e);
    projectTitle(e);
    GlState::apply(GlState::Texture2D | GlState::Lighting, GlState::DepthTest | GlState::Blend);
    drawTitle(e);

    GlState::apply(GlState::DepthTest);
    perspective(e, DesignAspect, 0.5, 10);
    gluLookAt(0, 2, -4.6, 0, 1, 0, 0, 1, 0);
    drawMenuShip(e);
    GlState::checkErrors("menu");
    sdlq::glSwapBuffers();
}

void World::renderPlay() {
    drawPlayScene();
    settlePlayFrame();
    drawHud();
    sdlq::glSwapBuffers();
}

void World::drawPlayScene() {
    Engine* e = Engine::instance();
    beginScene(e);
    trackCamera(e->ship);
    placeCamera(e);
    drawScenery(this, e);
    sprites->drawAll();
    if (e->shadows)
        drawShadowPass(true);
    endScene(e);
}

void World::renderPanelScene() {
    const Engine* e = Engine::instance();
    beginScene(e);
    perspective(e, DesignAspect, 2, 160);
    gluLookAt(10, 2, 6, 10, 0.4, 20, 0, 1, 0);
    drawScenery(this, e);
    sprites->drawAll();
    GlState::apply(GlState::Blend);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (e->shadows)
        drawShadowPass(false);
    endScene(e);
    sceneEndState();
    sprites->removeDead();
    sdlq::glSwapBuffers();
}

void World::renderCreditsScene() {
    const Engine* e = Engine::instance();
    beginScene(e);
    perspective(e, DesignAspect, 2, 160);
    const double a = scenePhase;
    gluLookAt(4 * std::cos(a), 6 + std::cos(a / 2), 6 + 9 * std::sin(a / 2), 0, 0.4, 20 + 4 * std::sin(a / 2),
              0.3 * std::cos(a), 1, 0);
    drawScenery(this, e);
    sprites->drawAll();
    GlState::apply(0, GlState::Texture2D | GlState::Lighting);
    if (e->shadows)
        drawShadowPass(true);
    endScene(e);
    sceneEndState();
    sprites->removeDead();
    sdlq::glSwapBuffers();
}
