#include "enemies/Tache.h"

#include "core/Audio.h"
#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/Scratcher.h"

#include <GL/gl.h>

namespace {

constexpr float StartGlow = 0.1f;
constexpr float GlowCeiling = 0.2f;
constexpr float SunkenGlow[5] = {-0.2f, -0.1f, -0.1f, -0.1f, -0.1f};
constexpr float MoundSkirt = 1.5f;
constexpr float FloorHeight = 0.02f;

// One vertex of the mound: position and texture coordinates.
void moundVertex(float px, float py, float pz, float u, float v) {
    glTexCoord2f(u, v);
    glVertex3f(px, py, pz);
}

} // namespace

Tache::Tache(List* owner, float x, int hitPoints)
    : Sprite(owner, KindTache, x, 0, 73.0f), state(Active), hitPoints(hitPoints),
      angle(static_cast<float>(gameRand() % 90)), glow{StartGlow, StartGlow, StartGlow, StartGlow,
                                                       StartGlow} {
    vz = -0.1f;
    sizeX = sizeY = sizeZ = 1.0f;
}

// The mound's heights wander a little each frame and sink back below the ceiling.
void Tache::walkGlow() {
    for (float& g : glow) {
        g += static_cast<float>(gameRand() % 16) / 256.0f - 0.03125f;
        if (g < 0)
            g = 0;
        else if (g > GlowCeiling)
            g -= 0.01f;
    }
}

void Tache::hatch(bool straight) {
    owner->add(new Scratcher(owner, x, z, straight));
    glow[0] += 0.5f;
}

void Tache::drift() {
    vz = -0.1f;
    Sprite::move();
    if (z < -3.0f)
        dead = 1;
}

void Tache::move() {
    if (state == Active) {
        walkGlow();
        if (Engine::instance()->chance(200)) {
            playSampleAt(Audio::TacheFire, 128);
            hatch(false);
        }
    }
    drift();
}

void Tache::collide(Sprite* other) {
    if (other->kind == KindMyFire2)
        hitPoints = -2;
    else if (other->kind == KindMyFire4)
        hitPoints -= 2;
    else
        return;
    if (hitPoints > 0 || state != Active)
        return;
    owner->add(new Explosion(this, 4, false, true));
    state = Destroyed;
    for (int i = 0; i < 5; ++i)
        glow[i] = SunkenGlow[i];
    other->addScore(100);
}

void Tache::draw() {
    const Engine* engine = Engine::instance();
    glPushMatrix();
    glTranslatef(x, y, z);
    if (angle != 0)
        glRotatef(angle, 0, 1, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GEQUAL, 0.3f);
    glBindTexture(GL_TEXTURE_2D, state == Active ? engine->texTache : engine->texDeadTache);
    glMaterialfv(GL_FRONT, GL_EMISSION, engine->colorYellow);
    glNormal3f(0, 1, 0);

    constexpr float r = 0.25f, s = MoundSkirt, f = FloorHeight;
    glBegin(GL_TRIANGLE_FAN);
    moundVertex(0, 0.5f + glow[0], 0, 0.5f, 0.5f);
    moundVertex(-r, r + glow[1], -r, 0.4f, 0.4f);
    moundVertex(-r, r + glow[2], r, 0.4f, 0.6f);
    moundVertex(r, r + glow[3], r, 0.6f, 0.6f);
    moundVertex(r, r + glow[4], -r, 0.6f, 0.4f);
    moundVertex(-r, r + glow[1], -r, 0.4f, 0.4f);
    glEnd();

    glBegin(GL_TRIANGLE_STRIP);
    moundVertex(r, r + glow[3], r, 0.6f, 0.6f);
    moundVertex(s, f, s, 1, 1);
    moundVertex(r, r + glow[4], -r, 0.6f, 0.4f);
    moundVertex(s, f, -s, 1, 0);
    moundVertex(-r, r + glow[1], -r, 0.4f, 0.4f);
    moundVertex(-s, f, -s, 0, 0);
    moundVertex(-r, r + glow[2], r, 0.4f, 0.6f);
    moundVertex(-s, f, s, 0, 1);
    moundVertex(r, r + glow[3], r, 0.6f, 0.6f);
    moundVertex(s, f, s, 1, 1);
    glEnd();

    glMaterialfv(GL_FRONT, GL_EMISSION, engine->colorOpaqueBlack);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glPopMatrix();
}

// A nest lies flat on the floor: no shadow.
void Tache::drawShadow() {}
