#include "player/MyFire4.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "player/MyFire1.h"
#include "player/MyFire4Smoke.h"

#include <GL/gl.h>

namespace {

bool stopsGroundMissile(int kind) {
    return kind == KindCube || kind == KindPoto || kind == KindTank || kind == KindScratcher ||
           kind == KindTache;
}

void drawSpark(bool coloured) {
    glBegin(GL_QUAD_STRIP);
    if (coloured)
        glColor4f(1, 0.5f, 0.2f, 0);
    glVertex3f(-0.1f, 0, -0.15f);
    glVertex3f(-0.1f, 0, 0.15f);
    if (coloured)
        glColor4f(1, 0.5f, 0.2f, 1);
    glVertex3f(0, 0, -0.15f);
    glVertex3f(0, 0, 0.15f);
    if (coloured)
        glColor4f(1, 0.5f, 0.2f, 0);
    glVertex3f(0.1f, 0, -0.15f);
    glVertex3f(0.1f, 0, 0.15f);
    glEnd();
}

} // namespace

MyFire4::MyFire4(Sprite* ship, float vx, float vz)
    : Sprite(ship->owner, KindMyFire4, ship->getX(), ship->getY() - 0.35f, ship->getZ() + 0.8f) {
    this->vx = vx;
    this->vz = vz;
    sizeX = 0.2f;
    sizeY = 0.2f;
    sizeZ = 0.6f;
    owner->add(new MyFire4Smoke(this));
}

void MyFire4::move() {
    Sprite::move();
    if (z > 70 || z < -5)
        dead = 1;
}

void MyFire4::collide(Sprite* other) {
    if (!stopsGroundMissile(other->kind))
        return;
    owner->add(new Explosion(this, 1, false, false));
    dead = 1;
}

void MyFire4::addScore(int points) {
    addScoreToShip(points);
}

// The spark turns as it advances.
void MyFire4::draw() {
    const float s = vx >= 0 ? 1.0f : -1.0f;
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(s * 70 * z, 0, 1, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawSpark(true);
    glPopMatrix();
}

void MyFire4::drawShadow() {
    const float s = vx >= 0 ? 1.0f : -1.0f;
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(s * 70 * z, 1, 1, 0);
    drawSpark(false);
    glPopMatrix();
}
