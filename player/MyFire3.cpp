#include "player/MyFire3.h"

#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/ListSprite.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "models/MeshList.h"
#include "models/Models.h"
#include "player/MyFire1.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace {

constexpr float Speed = 0.4f;

Mesh missileMesh;
bool meshPrepared = false;
unsigned int missileLists = 0;

bool stopsMissile(int kind) {
    switch (kind) {
    case KindCube:
    case KindShip1:
    case KindShip1Fire:
    case KindPoto:
    case KindTank:
    case KindTankFire:
    case KindScratcher:
    case KindFighter:
        return true;
    default:
        return false;
    }
}

// A 0.1 × 0.1 × 0.35 box, each face mapped onto the whole texture.
void drawBox() {
    constexpr float hx = 0.05f, hy = 0.05f, hz = 0.175f;
    constexpr float faces[6][4][3] = {
        {{hx, -hy, -hz}, {hx, hy, -hz}, {hx, hy, hz}, {hx, -hy, hz}},
        {{-hx, -hy, hz}, {-hx, hy, hz}, {-hx, hy, -hz}, {-hx, -hy, -hz}},
        {{-hx, hy, -hz}, {-hx, hy, hz}, {hx, hy, hz}, {hx, hy, -hz}},
        {{-hx, -hy, hz}, {-hx, -hy, -hz}, {hx, -hy, -hz}, {hx, -hy, hz}},
        {{-hx, -hy, hz}, {hx, -hy, hz}, {hx, hy, hz}, {-hx, hy, hz}},
        {{hx, -hy, -hz}, {-hx, -hy, -hz}, {-hx, hy, -hz}, {hx, hy, -hz}},
    };
    constexpr float normals[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    constexpr float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (int f = 0; f < 6; ++f) {
        glNormal3fv(normals[f]);
        for (int v = 0; v < 4; ++v) {
            glTexCoord2fv(uv[v]);
            glVertex3fv(faces[f][v]);
        }
    }
    glEnd();
}

// The flame behind the missile grows with its speed and flickers by one unit.
void drawFlameFan(float vx, float vz, bool vertical) {
    const float length = -10 * (vx * vx + vz * vz) - 0.0625f * static_cast<float>(gameRand() & 16);
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(1, 0, 0, 1);
    glVertex3f(0, 0, 0);
    glColor4f(1, 1, 0, 0);
    if (vertical) {
        glVertex3f(0, -0.03f, 0);
        glVertex3f(0, 0, length);
        glVertex3f(0, 0.03f, 0);
    } else {
        glVertex3f(-0.03f, 0, 0);
        glVertex3f(0, 0, length);
        glVertex3f(0.03f, 0, 0);
    }
    glEnd();
}

} // namespace

MyFire3::MyFire3(Sprite* ship, float offset)
    : Sprite(ship->owner, KindMyFire1, ship->getX() + offset, ship->getY(), ship->getZ() + 0.2f),
      desiredVz(Speed), desiredVx(0), target(nullptr) {
    sizeX = 0.2f;
    sizeY = 1;
    sizeZ = 0.2f;
    chooseTarget();
}

// Follows a random live target as its watcher; with none (or no free watcher slot) it flies straight on.
void MyFire3::chooseTarget() {
    target = nullptr;
    desiredVx = 0;
    desiredVz = Speed;
    auto* list = dynamic_cast<ListSprite*>(owner);
    Sprite* candidate = list ? list->pickRandomTarget() : nullptr;
    if (candidate && candidate != this && candidate->addWatcher(this))
        target = candidate;
}

void MyFire3::move() {
    const float t = Engine::instance()->frameStep;
    Sprite::move();
    if (x < -40 || x > 40 || z > 80 || z < 0)
        dead = 1;
    if (target) {
        const float dx = target->getX() - x;
        const float dz = target->getZ() - z;
        const float d2 = dx * dx + dz * dz;
        if (d2 == 0)
            return;
        const float k = std::sqrt(Speed * Speed / d2);
        desiredVx = dx * k;
        desiredVz = dz * k;
    }
    // The missile starts at rest and turns slowly.
    if (vx < desiredVx)
        vx += 0.005f * t;
    if (vx > desiredVx)
        vx -= 0.005f * t;
    if (vz < desiredVz)
        vz += 0.005f * t;
    if (vz > desiredVz)
        vz -= 0.005f * t;
}

void MyFire3::collide(Sprite* other) {
    if (!stopsMissile(other->kind))
        return;
    owner->add(new Explosion(this, 1, false, false));
    dead = 1;
}

void MyFire3::addScore(int points) {
    addScoreToShip(points);
}

void MyFire3::prepareRemoval() {
    Sprite::prepareRemoval();
    if (target)
        target->removeWatcher(this);
    target = nullptr;
}

void MyFire3::watchedRemoved(Sprite* removed) {
    if (removed != target)
        return;
    chooseTarget();
}

float MyFire3::heading() const {
    if (vx == 0)
        return vz >= 0 ? -90.0f : 90.0f;
    float h = std::atan(vz / -vx) / 6.2831852f * 360.0f;
    if (vx < 0)
        h += 180;
    return h;
}

void MyFire3::turn() const {
    glRotatef(heading() + 90, 0, 1, 0);
}

void MyFire3::draw() {
    Engine* engine = Engine::instance();
    if (engine->details < 1) {
        glColor4f(1, 0.7f, 0, 1);
        glPushMatrix();
        glDisable(GL_CULL_FACE);
        glTranslatef(x, y, z);
        turn();
        glCallList(missileLists + 1);
    } else {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, engine->texMissile);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
        glDisable(GL_BLEND);
        glEnable(GL_LIGHTING);
        glPushMatrix();
        glTranslatef(x, y, z);
        turn();
        glCallList(missileLists);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
    }
    glDepthMask(GL_FALSE);
    glTranslatef(0, 0, -0.2f);
    drawFlameFan(vx, vz, false);
    if (engine->details > 1)
        drawFlameFan(vx, vz, true);
    glDepthMask(GL_TRUE);
    glPopMatrix();
    glEnable(GL_CULL_FACE);
}

void MyFire3::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    turn();
    glCallList(Engine::instance()->details < 2 ? missileLists + 1 : missileLists);
    glPopMatrix();
}

unsigned int MyFire3::listBase() {
    return missileLists;
}

void MyFire3::buildModels() {
    if (!meshPrepared) {
        missileMesh = meshMissile();
        smoothNormals(missileMesh);
        scalePositions(missileMesh, 800);
        meshPrepared = true;
    }
    missileLists = renewLists(missileLists, 2);
    glNewList(missileLists, GL_COMPILE);
    drawMeshArrays(missileMesh, MeshArrays::Textured);
    glEndList();

    glNewList(missileLists + 1, GL_COMPILE);
    drawBox();
    glEndList();
}
