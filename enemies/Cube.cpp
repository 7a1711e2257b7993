#include "enemies/Cube.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Diamond.h"
#include "enemies/Explosion.h"
#include "models/MeshList.h"
#include "models/DebrisMeshes.h"
#include "models/Models.h"

#include <GL/gl.h>

namespace {

constexpr float RestHeight = 0.5f;
constexpr float FloorDrift = -0.1f;
// Beyond this the cube has left the floor and falls.
constexpr float FloorEdge = 12.1f;

unsigned int cubeLists = 0;

Mesh& cubeMesh() {
    static Mesh mesh = [] {
        Mesh m = meshCube();
        smoothNormals(m);
        scalePositions(m, 1.5f);
        return m;
    }();
    return mesh;
}

} // namespace

Cube::Cube(List* owner, int hitPoints, int x)
    : Sprite(owner, KindCube, static_cast<float>(x), RestHeight, 70.0f),
      angle(static_cast<float>(gameRand() % 90)), spin(0), hitPoints(hitPoints) {
    vz = FloorDrift;
    sizeX = sizeY = sizeZ = 1.0f;
    isTarget = true;
}

void Cube::move() {
    const float dt = Engine::instance()->frameStep;
    if (y == RestHeight) {
        // Spin friction is per frame, not per tick.
        if (spin > 0.015f)
            spin -= 0.03f;
        else if (spin < -0.015f)
            spin += 0.03f;
        else
            spin = 0;
        angle += spin * dt;

        if (vx > 0.04f * dt)
            vx += -0.03f * dt;
        else if (vx < -0.04f * dt)
            vx += 0.03f * dt;
        else
            vx = 0;

        if (vz > 0.02f * dt + FloorDrift)
            vz += -0.08f * dt;
        else if (vz < -0.02f * dt + FloorDrift)
            vz += 0.08f * dt;
        else
            vz = FloorDrift;
    }
    if (x < -FloorEdge || x > FloorEdge)
        vy += -0.006f * dt;
    Sprite::move();
    if (z < -3.0f || y < -35.0f)
        dead = 1;
}

void Cube::collide(Sprite* other) {
    switch (other->kind) {
    case KindMyShip:
    case KindMyFire1:
        hitPoints -= 1;
        break;
    case KindMyFire2:
        hitPoints = -3;
        break;
    case KindMyFire4:
        hitPoints -= 3;
        break;
    case KindCube:
    case KindShip1:
    case KindSpirale:
    case KindTank:
        shove(other);
        return;
    default:
        return;
    }
    if (hitPoints > 0)
        knock(other);
    else
        destroy(other);
}

void Cube::knock(Sprite* other) {
    const float t = (x - other->getX()) / ((sizeX + other->sizeX) * 0.5f);
    vx = 0.5f * t;
    spin = 10.0f * t;
    vz = 0.5f - vx;
}

void Cube::shove(Sprite* other) {
    const float t = (x - other->getX()) / ((sizeX + other->sizeX) * 0.5f);
    vx = t / 3.0f;
    spin = 7.0f * t;
    vz = ((z - other->getZ()) / (0.5f * (sizeZ + other->sizeZ))) / 3.0f;
}

void Cube::destroy(Sprite* other) {
    if (dead)
        return;
    owner->add(new Explosion(this, 8, true, true));
    if (gameRand() % 5 == 0)
        owner->add(new Diamond(this));
    other->addScore(100);
    dead = 1;
}

void Cube::draw() {
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texCube);
    drawShadow();
}

void Cube::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    if (angle != 0)
        glRotatef(angle, 0, 1, 0);
    glCallList(cubeLists);
    glPopMatrix();
}

void Cube::buildModels() {
    cubeLists = renewLists(cubeLists, 2);
    glNewList(cubeLists, GL_COMPILE);
    drawMeshArrays(cubeMesh(), MeshArrays::Textured);
    glEndList();
    glNewList(cubeLists + 1, GL_COMPILE);
    drawMeshArrays(cubeMesh(), MeshArrays::Positions);
    glEndList();
    registerDebrisMesh(KindCube, &cubeMesh());
}

unsigned int Cube::listBase() {
    return cubeLists;
}

const Mesh& Cube::mesh() {
    return cubeMesh();
}
