#include "player/MyFire2.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "player/MyFire1.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace {

GLUquadric* sphere() {
    static GLUquadric* quadric = nullptr;
    if (!quadric) {
        quadric = gluNewQuadric();
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricNormals(quadric, GLU_SMOOTH);
    }
    return quadric;
}

} // namespace

MyFire2::MyFire2(Sprite* ship)
    : Sprite(ship->owner, KindMyFire2, ship->getX(), ship->getY(), ship->getZ() + 0.5f), spinAngle(0),
      bombState(Expanding) {
    sizeX = 0.2f;
    sizeY = 1;
    sizeZ = 0.2f;
}

// Everything the growing box overlaps collides with it; the targets decide by kind.
void MyFire2::move() {
    const float t = Engine::instance()->frameStep;
    if (bombState == Expanding) {
        sizeX += 0.2f * t;
        sizeZ += 0.2f * t;
        spinAngle += std::min(10 * t, 45.0f);
        if (sizeX > 15)
            bombState = Flying;
    } else if (bombState == Flying) {
        spinAngle += std::min(6 * t, 45.0f);
        vz += 0.05f * t;
        Sprite::move();
        if (z > 70)
            dead = 1;
    }
}

void MyFire2::collide(Sprite*) {}

void MyFire2::addScore(int points) {
    addScoreToShip(points);
}

void MyFire2::draw() {
    Engine* engine = Engine::instance();
    glDisable(GL_TEXTURE_2D);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorYellow);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, engine->colorYellow);
    const float r = 0.5f * sizeX + 1;
    for (int k = 0; k < 5; ++k) {
        glPushMatrix();
        glTranslatef(x, y, z);
        glRotatef(spinAngle, 0, 1, 0);
        glRotatef(72.0f * k, 0, 1, 0);
        glTranslatef(r, 0.3f, 0);
        gluSphere(sphere(), 0.3, 4, 4);
        glPopMatrix();
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite2);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, engine->colorGrey);
    glEnable(GL_TEXTURE_2D);
}
