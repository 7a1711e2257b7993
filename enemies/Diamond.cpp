#include "enemies/Diamond.h"

#include "core/Engine.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Cube.h"
#include "models/MeshList.h"
#include "models/Models.h"
#include "player/MyShip.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// The draw of rand() picks the type: bomb, shield, invulnerability, then power (only below level 7).
constexpr int capsuleForDraw[4] = {Diamond::Bomb, Diamond::Shield, Diamond::Invulnerability, Diamond::Power};
constexpr int PowerCapsuleLevel = 7;
// A power capsule shrinks away once it has passed the middle of the field.
constexpr float ShrinkFromZ = 40.0f;

unsigned int capsuleLists = 0;

// The capsule lies at y = 0.1: its pill is raised so that it rests on the floor instead of sinking into
// it, and its scalings shrink it towards the floor.
void liftOntoFloor(Mesh& mesh) {
    float lowest = 0;
    for (int i = 0; i < mesh.vertexCount(); ++i)
        lowest = std::min(lowest, mesh.vertex(i)[1]);
    const float lift = -0.1f - lowest;
    if (lift <= 0)
        return;
    for (int i = 0; i < mesh.vertexCount(); ++i)
        mesh.vertex(i)[1] += lift;
}

const Mesh& capsuleMesh() {
    static const Mesh mesh = [] {
        Mesh m = meshCapsule();
        smoothNormals(m);
        flipTextureV(m);
        liftOntoFloor(m);
        return m;
    }();
    return mesh;
}

} // namespace

Diamond::Diamond(Cube* source)
    : Sprite(source->owner, KindDiamond, source->x, 0.1f, source->z), angle(0), spin(3.0f),
      capsuleType(chooseCapsuleType(Engine::instance()->ship)) {
    vz = -0.1f;
    const float size = capsuleType == Power ? 1.6f : 1.0f;
    sizeX = sizeY = sizeZ = size;
}

int Diamond::chooseCapsuleType(const MyShip* ship) {
    const int r = (!ship || ship->weaponLevel < PowerCapsuleLevel) ? gameRand() % 4 : gameRand() % 3;
    return capsuleForDraw[r];
}

void Diamond::move() {
    const float dt = Engine::instance()->frameStep;
    angle += spin * dt;
    Sprite::move();
    if (capsuleType == Power && z < ShrinkFromZ) {
        sizeX += -0.007f * dt;
        sizeY = sizeZ = sizeX;
        if (sizeX <= 0)
            dead = 1;
    }
    if (z < -3.0f)
        dead = 1;
}

void Diamond::collide(Sprite* other) {
    if (other->kind == KindMyShip) {
        if (!dead)
            other->addScore(500);
        dead = 1;
    } else if (other->kind == KindMyFire1) {
        // Shooting a shield capsule turns it into a bomb capsule and back.
        if (capsuleType == Shield)
            capsuleType = Bomb;
        else if (capsuleType == Bomb)
            capsuleType = Shield;
    }
}

void Diamond::draw() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(angle, 0, 1, 0);
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texCapsule[capsuleType]);
    if (capsuleType == Power)
        glScalef(sizeX, sizeY, sizeZ);
    else if (capsuleType == Invulnerability)
        glScalef(1.2f, 0.85f, 1.2f);
    glCallList(capsuleLists);
    glPopMatrix();
}

void Diamond::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(angle, 0, 1, 0);
    if (capsuleType == Power)
        glScalef(sizeX, sizeY, sizeZ);
    else if (capsuleType == Invulnerability)
        glScalef(1.3f, 0.7f, 1.3f);
    glCallList(capsuleLists + 1);
    glPopMatrix();
}

void Diamond::buildModels() {
    capsuleLists = renewLists(capsuleLists, 2);
    glNewList(capsuleLists, GL_COMPILE);
    drawMeshArrays(capsuleMesh(), MeshArrays::Textured);
    glEndList();
    glNewList(capsuleLists + 1, GL_COMPILE);
    drawMeshArrays(capsuleMesh(), MeshArrays::Positions);
    glEndList();
}

unsigned int Diamond::listBase() {
    return capsuleLists;
}
