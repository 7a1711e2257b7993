#include "enemies/ExplosionJustSmoke.h"

#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/SpriteKind.h"

#include <GL/gl.h>

#include <cstdlib>

ExplosionJustSmoke::ExplosionJustSmoke(Sprite* source, float size)
    : Sprite(source->owner, KindEffect, source->getX(), source->getY(), source->getZ()), size(size),
      smokeVariant(gameRand() % 3), radius(size * 0.25f), roll(static_cast<float>(gameRand() % 90)) {
    sizeX = sizeY = size;
}

// The puff grows where it was made; it does not drift.
void ExplosionJustSmoke::move() {
    radius += 0.05f * Engine::instance()->frameStep;
    if (radius > size)
        dead = 1;
}

void ExplosionJustSmoke::collide(Sprite*) {}

void ExplosionJustSmoke::draw() {
    Engine* engine = Engine::instance();
    const float r = radius;
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(roll, 0, 0, 1);
    if (engine->cameraMode == 2)
        glRotatef(90, 1, 0, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthFunc(GL_ALWAYS);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, engine->texSmoke[smokeVariant]);
    glColor4f(1, 1, 1, 1 - radius / size);
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
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glPopMatrix();
}
