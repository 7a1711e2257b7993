#include "render/SkyFloor.h"

#include "core/Engine.h"
#include "core/World.h"
#include "player/MyShip.h"
#include "render/GLSetup.h"
#include "render/GlState.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float RowDepth = 5.0f;
constexpr float TileWidth = 3.5f;
constexpr float ScrollPerTick = 0.1f;
constexpr int FirstColumn = -3;
constexpr float BorderLeft = -12.0f;
constexpr float BorderRight = 12.5f;
constexpr float FloorEdge = 10.5f;
constexpr float MixConstant[4] = {0.55f, 0.55f, 0.55f, 0.55f};

float randomBrightness() {
    return static_cast<float>(std::rand() % 750) / 1000.0f + 0.25f;
}

// One floor vertex: both texture units get the same coordinate, the colour carries the light.
struct FloorVertex {
    float u, v, x, z;
};

void sendSingle(const FloorVertex& p) {
    glTexCoord2f(p.u, p.v);
    glVertex3f(p.x, 0.0f, p.z);
}

void sendDouble(const FloorVertex& p) {
    multiTexCoord2fFn(GL_TEXTURE0, p.u, p.v);
    multiTexCoord2fFn(GL_TEXTURE1, p.u, p.v);
    glColor3fv(floorLightColor(p.x, 0.0f, p.z));
    glVertex3f(p.x, 0.0f, p.z);
}

template <typename Send> void sendTile(float x, float z0, Send send) {
    const float z1 = z0 + RowDepth;
    send({1, 1, x, z1});
    send({0, 1, x + TileWidth, z1});
    send({0, 0, x + TileWidth, z0});
    send({1, 0, x, z0});
}

// Both strips use the right half of the border picture, mirrored against each other.
template <typename Send> void sendBorders(float scroll, Send send) {
    glBegin(GL_QUADS);
    for (int r = 0; r < World::FloorRows; ++r) {
        const float z0 = RowDepth * static_cast<float>(r) - scroll;
        const float z1 = z0 + RowDepth;
        send({0.5f, 1, BorderLeft, z1});
        send({0.99f, 1, -FloorEdge, z1});
        send({0.99f, 0, -FloorEdge, z0});
        send({0.5f, 0, BorderLeft, z0});
        send({0.99f, 1, FloorEdge, z1});
        send({0.5f, 1, BorderRight, z1});
        send({0.5f, 0, BorderRight, z0});
        send({0.99f, 0, FloorEdge, z0});
    }
    glEnd();
}

int cellOf(const World* w, int r, int c) {
    return ((w->floorRow + r) % World::FloorRows) * World::FloorColumns + (c - FirstColumn);
}

void drawSingleTextureFloor(const World* w, const Engine* e) {
    GlState::apply(GlState::Lighting | GlState::Texture2D);
    unsigned int bound = 0;
    for (int r = 0; r < World::FloorRows; ++r) {
        const float z0 = RowDepth * static_cast<float>(r) - w->floorScroll;
        for (int c = FirstColumn; c < FirstColumn + World::FloorColumns; ++c) {
            const unsigned int tex = e->texFloor[w->floorVariant[cellOf(w, r, c)]];
            if (tex != bound) {
                glBindTexture(GL_TEXTURE_2D, tex);
                bound = tex;
            }
            glBegin(GL_QUADS);
            sendTile(TileWidth * static_cast<float>(c), z0, sendSingle);
            glEnd();
        }
    }
    glBindTexture(GL_TEXTURE_2D, e->texBorder);
    sendBorders(w->floorScroll, sendSingle);
    GlState::apply(0, GlState::Texture2D);
}

void setUpCombiners() {
    activeTextureFn(GL_TEXTURE0);
    GlState::apply(GlState::Texture2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
    activeTextureFn(GL_TEXTURE1);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, MixConstant);
    GlState::apply(GlState::Texture2D); // the switch of the active unit
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GL_CONSTANT);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_TEXTURE);
}

// Binds the pair of a cell, skipping units that already hold their texture.
void bindPair(unsigned int map, unsigned int tile, unsigned int* bound) {
    if (bound[0] != map) {
        activeTextureFn(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, map);
        bound[0] = map;
    }
    if (bound[1] != tile) {
        activeTextureFn(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, tile);
        bound[1] = tile;
    }
}

void drawTwoTextureFloor(const World* w, const Engine* e) {
    GlState::apply(0, GlState::Lighting);
    setUpCombiners();
    unsigned int bound[2] = {0, 0};
    for (int r = 0; r < World::FloorRows; ++r) {
        const float z0 = RowDepth * static_cast<float>(r) - w->floorScroll;
        for (int c = FirstColumn; c < FirstColumn + World::FloorColumns; ++c) {
            const int cell = cellOf(w, r, c);
            bindPair(e->texFloorMap[w->floorMapVariant[cell]], e->texFloor[w->floorVariant[cell]], bound);
            glBegin(GL_QUADS);
            sendTile(TileWidth * static_cast<float>(c), z0, sendDouble);
            glEnd();
        }
    }
    bindPair(e->texFloorMap[1], e->texBorder, bound);
    sendBorders(w->floorScroll, sendDouble);
    activeTextureFn(GL_TEXTURE1);
    GlState::apply(0, GlState::Texture2D);
    activeTextureFn(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

} // namespace

bool scrollFloor(World* world, float step) {
    world->floorScroll += ScrollPerTick * step;
    if (world->floorScroll < RowDepth)
        return false;
    world->floorScroll -= RowDepth;
    const int old = world->floorRow;
    world->floorRow = (old + 1) % World::FloorRows;
    for (int c = 0; c < World::FloorColumns; ++c) {
        const int cell = old * World::FloorColumns + c;
        world->floorVariant[cell] = std::rand() % 5;
        world->floorMapVariant[cell] = std::rand() % 5;
    }
    return true;
}

int visibleStars(int starCount, int details) {
    // Only low, medium and high exist; anything else would divide by zero or overrun the stars.
    if (details < 0)
        details = 0;
    if (details > 2)
        details = 2;
    return starCount / (3 - details);
}

const float* floorLightColor(float x, float y, float z) {
    static float color[3];
    const Engine* e = Engine::instance();
    float sx = 0.0f;
    float sz = 23.0f;
    if (e->ship) {
        sx = e->ship->getX();
        sz = e->ship->getZ();
    }
    const float dx = x - sx;
    const float dy = sz - z;
    const float dz = 2.0f - y;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float inverse = length > 0.0f ? 1.0f / length : 0.0f;
    color[0] = 0.5f + 0.5f * dx * inverse;
    color[1] = 0.5f + 0.5f * dy * inverse;
    color[2] = 0.5f + 0.5f * dz * inverse;
    return color;
}

bool floorUsesTwoTextures() {
    const Engine* e = Engine::instance();
    return e->hasCombineDot3 && e->details != 0 && activeTextureFn && multiTexCoord2fFn;
}

void World::drawSky() {
    const Engine* e = Engine::instance();
    GlState::apply(0, GlState::Fog | GlState::Lighting | GlState::Texture2D);
    const int n = std::min(visibleStars(starCount, e->details), static_cast<int>(StarCount));
    if (n > 0) {
        float* twinkling = stars[std::rand() % n];
        twinkling[0] = twinkling[1] = twinkling[2] = randomBrightness();
    }

    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_C3F_V3F, 0, stars);
    glDrawArrays(GL_POINTS, 0, n);
    glPopClientAttrib();

    if (e->details != 0) {
        glColor4fv(e->colorWhite);
        GlState::apply(GlState::Texture2D | GlState::Blend);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        for (int k = 0; k < 4; ++k) {
            const float* q = e->skyQuads[k];
            glBindTexture(GL_TEXTURE_2D, e->texSpace[k]);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex3f(q[0], q[1], q[4]);
            glTexCoord2f(0, 1);
            glVertex3f(q[0], q[3], q[4]);
            glTexCoord2f(1, 1);
            glVertex3f(q[2], q[3], q[4]);
            glTexCoord2f(1, 0);
            glVertex3f(q[2], q[1], q[4]);
            glEnd();
        }
    }
    GlState::apply(GlState::Fog | GlState::Lighting, GlState::Blend);
    GlState::checkErrors("sky");
}

void World::drawFloor() {
    const Engine* e = Engine::instance();
    glLightfv(GL_LIGHT0, GL_SPECULAR, e->colorBlack);
    scrollFloor(this, e->frameStep);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, e->colorWhite);
    glColor4fv(e->colorWhite);
    GlState::apply(GlState::Blend);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glNormal3f(0, 1, 0);
    if (floorUsesTwoTextures())
        drawTwoTextureFloor(this, e);
    else
        drawSingleTextureFloor(this, e);
    GlState::apply(0, GlState::AlphaTest | GlState::Texture2D | GlState::Blend);
    glLightfv(GL_LIGHT0, GL_SPECULAR, e->colorWhite);
    GlState::checkErrors("floor");
}
