#include "enemies/Spirale.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float Speed = 0.5f; // units per tick along the line to the aim point
constexpr float GroundHeight = 0.5f;

// The star outline at z = 0.5 around the tip (0, 0, -0.5), with the normal of each vertex.
constexpr float outline[9][2] = {{0, 0.5f},      {0.1f, 0.1f}, {0.5f, 0},     {0.1f, -0.1f}, {0, -0.5f},
                                 {-0.1f, -0.1f}, {-0.5f, 0},   {-0.1f, 0.1f}, {0, 0.5f}};
constexpr float normals[10][3] = {{1, 0, 0}, {1, 0, 0},  {1, 0, 0},  {0, 1, 0}, {0, -1, 0},
                                  {1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};

bool hurtsOnContact(int kind) {
    switch (kind) {
    case KindMyShip:
    case KindMyFire1:
    case KindMyFire2:
    case KindCube:
    case KindShip1:
    case KindTank:
    case KindFighter:
        return true;
    default:
        return false;
    }
}

} // namespace

Spirale::Spirale(List* owner, Sprite* target)
    : Sprite(owner, KindSpirale, 0, 0, 50.0f), spin(static_cast<float>(gameRand() % 90)) {
    const int r1 = gameRand();
    const int r2 = gameRand();
    x = static_cast<float>(r2 % 22 - 11);
    y = static_cast<float>(r1 % 10 + 10);
    const float dx = target->x - x, dy = target->y - y, dz = target->z + 3.0f - z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length > 0) {
        vx = dx / length * Speed;
        vy = dy / length * Speed;
        vz = dz / length * Speed;
    } else {
        vz = -Speed; // already on the aim point: carry on towards the player
    }
    sizeX = sizeY = sizeZ = 1.0f;
}

void Spirale::move() {
    const float dt = Engine::instance()->frameStep;
    spin += std::min(10.0f * dt, 20.0f);
    Sprite::move();
    if (y < GroundHeight) {
        // Landed: it slides on with its forward speed only.
        y = GroundHeight;
        vx = 0;
        vy = 0;
    }
    if (z < -2.0f)
        dead = 1;
}

void Spirale::collide(Sprite* other) {
    if (!hurtsOnContact(other->kind))
        return;
    // Every contact pays, also a second one in the frame the missile dies in (the ship and a shot at once).
    other->addScore(30);
    if (dead)
        return;
    owner->add(new Explosion(this, 2, true, true));
    dead = 1;
}

void Spirale::draw() {
    const Engine* engine = Engine::instance();
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorBlue);
    glDisable(GL_TEXTURE_2D);
    drawStar(true);
    glEnable(GL_TEXTURE_2D);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorWhite);
}

void Spirale::drawShadow() {
    drawStar(false);
}

void Spirale::drawStar(bool lit) {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(spin, 0, 0, 1);
    glBegin(GL_TRIANGLE_FAN);
    if (lit)
        glNormal3fv(normals[0]);
    glVertex3f(0, 0, -0.5f);
    for (int i = 0; i < 9; ++i) {
        if (lit)
            glNormal3fv(normals[i + 1]);
        glVertex3f(outline[i][0], outline[i][1], 0.5f);
    }
    glEnd();
    glPopMatrix();
}
