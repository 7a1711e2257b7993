#include "enemies/Explosion.h"

#include "core/Audio.h"
#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/ExplosionMark.h"
#include "enemies/PieceOfShip.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Debris particles per unit of size at detail levels 0, 1 and 2.
constexpr int debrisPerSize[3] = {2, 4, 5};

} // namespace

Explosion::Explosion(Sprite* source, int size, bool withSound, bool withDebris, float overrideX,
                     float overrideY, float overrideZ)
    : Sprite(source->owner, KindEffect, source->getX(), source->getY(), source->getZ()), size(size),
      smokeVariant(gameRand() % 3), radius(static_cast<float>(size / 4)), lobe1(0), lobe2(0), lobe3(0),
      lobe4(0), roll(0), sourceKind(source->kind), withDebris(withDebris ? 1 : 0) {
    vz = -0.1f;
    if (overrideX != 99.0f)
        x = overrideX;
    if (overrideY != 99.0f)
        y = overrideY;
    if (overrideZ != 99.0f)
        z = overrideZ;
    sizeX = sizeY = static_cast<float>(size);
    lobe1 = 0.25f + (gameRand() % 10) / 15.0f;
    lobe3 = 0.25f + (gameRand() % 10) / 15.0f;
    lobe2 = 1 - lobe1;
    lobe4 = 1 - lobe3;
    roll = static_cast<float>(gameRand() % 90);
    if (withDebris) {
        const int details = std::clamp(Engine::instance()->details, 0, 2);
        if (details > 0)
            owner->add(new ExplosionMark(this, size));
        owner->add(new PieceOfShip(this, debrisPerSize[details] * size));
    }
    if (withSound)
        playSampleAt(gameRand() % 2 ? Audio::Explode2 : Audio::Explode1, 128);
}

void Explosion::move() {
    Sprite::move();
    radius += 0.07f * Engine::instance()->frameStep;
    if (radius > static_cast<float>(size))
        dead = 1;
}

void Explosion::collide(Sprite*) {}

void Explosion::draw() {
    Engine* engine = Engine::instance();
    const float fadeAlpha = 1 - radius / static_cast<float>(size);
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(roll, 0, 0, 1);
    if (engine->cameraMode == 2)
        glRotatef(90, 1, 0, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthFunc(GL_ALWAYS);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    if (withDebris && engine->details > 0) {
        const float r = radius;
        glBindTexture(GL_TEXTURE_2D, engine->texSmoke[smokeVariant]);
        glColor4f(1, 1, 1, fadeAlpha);
        glBegin(GL_QUADS);
        glTexCoord2f(1, 1);
        glVertex3f(r, r, 0);
        glTexCoord2f(1, 0);
        glVertex3f(r, -r, 0);
        glTexCoord2f(0, 0);
        glVertex3f(-r, -r, 0);
        glTexCoord2f(0, 1);
        glVertex3f(-r, r, 0);
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
    // A four-pointed star of fire.
    const float k = 2.5f * radius;
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(1, 1, 0, fadeAlpha);
    glVertex3f(0, 0, 0);
    glColor4f(1, 0, 0, 0);
    glVertex3f(k * lobe3, k * lobe3, 0);
    glVertex3f(k * lobe2, -k * lobe2, 0);
    glVertex3f(-k * lobe1, -k * lobe1, 0);
    glVertex3f(-k * lobe4, k * lobe4, 0);
    glVertex3f(k * lobe3, k * lobe3, 0);
    glEnd();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glPopMatrix();
}
