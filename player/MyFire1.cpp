#include "player/MyFire1.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "player/MyShip.h"

#include <GL/gl.h>

namespace {

bool stopsBolt(int kind) {
    switch (kind) {
    case KindCube:
    case KindShip1:
    case KindShip1Fire:
    case KindPoto:
    case KindTank:
    case KindTankFire:
    case KindScratcher:
    case KindFighter:
    case KindDiamond:
        return true;
    default:
        return false;
    }
}

// A flat streak, opaque along its middle and transparent at its sides.
void drawStreak(bool coloured) {
    glBegin(GL_QUAD_STRIP);
    if (coloured)
        glColor4f(1, 1, 0, 0);
    glVertex3f(-0.1f, 0, -0.3f);
    glVertex3f(-0.1f, 0, 0.3f);
    if (coloured)
        glColor4f(1, 1, 0, 1);
    glVertex3f(0, 0, -0.3f);
    glVertex3f(0, 0, 0.3f);
    if (coloured)
        glColor4f(1, 1, 0, 0);
    glVertex3f(0.1f, 0, -0.3f);
    glVertex3f(0.1f, 0, 0.3f);
    glEnd();
}

} // namespace

void addScoreToShip(int points) {
    if (!Engine::exists())
        return;
    if (MyShip* ship = Engine::instance()->ship)
        ship->addScore(points);
}

MyFire1::MyFire1(Sprite* ship)
    : Sprite(ship->owner, KindMyFire1, ship->getX(), ship->getY(), ship->getZ() + 0.8f) {
    vz = 1.2f;
    sizeX = 0.2f;
    sizeY = 0.2f;
    sizeZ = 0.5f;
}

MyFire1::MyFire1(Sprite* ship, float vx, float vz)
    : Sprite(ship->owner, KindMyFire1, ship->getX() + 5 * vx, ship->getY(), ship->getZ() + 0.8f) {
    this->vx = vx;
    this->vz = vz;
    sizeX = 0.2f;
    sizeY = 0.2f;
    sizeZ = 0.2f;
}

void MyFire1::move() {
    Sprite::move();
    if (z > 70 || z < -5)
        dead = 1;
}

void MyFire1::collide(Sprite* other) {
    if (!stopsBolt(other->kind))
        return;
    owner->add(new Explosion(this, 1, false, false));
    dead = 1;
}

void MyFire1::addScore(int points) {
    addScoreToShip(points);
}

void MyFire1::draw() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawStreak(true);
    glPopMatrix();
}

void MyFire1::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    drawStreak(false);
    glPopMatrix();
}
