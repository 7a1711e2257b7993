#include "enemies/ExplosionMark.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"

#include <GL/gl.h>

ExplosionMark::ExplosionMark(Explosion* explosion, int size)
    : Sprite(explosion->owner, KindEffect, explosion->getX(), 0.005f, explosion->getZ()),
      halfWidth(static_cast<float>(size / 3)) {
    vz = -0.1f;
}

void ExplosionMark::move() {
    Sprite::move();
    if (z < -3)
        dead = 1;
}

void ExplosionMark::collide(Sprite*) {}

void ExplosionMark::draw() {
    const float w = halfWidth;
    glPushMatrix();
    glTranslatef(x, 0.005f, z);
    glColor4f(1, 0, 0, 0.6f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texMark);
    glBegin(GL_QUADS);
    glTexCoord2f(1, 0);
    glVertex3f(w, 0, -w);
    glTexCoord2f(0, 0);
    glVertex3f(-w, 0, -w);
    glTexCoord2f(0, 1);
    glVertex3f(-w, 0, w);
    glTexCoord2f(1, 1);
    glVertex3f(w, 0, w);
    glEnd();
    glDepthMask(GL_TRUE);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
