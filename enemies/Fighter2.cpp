#include "enemies/Fighter2.h"

#include "core/Engine.h"
#include "core/List.h"
#include "models/MeshList.h"
#include "models/Models.h"

#include <GL/gl.h>

unsigned int Fighter2::list = 0;

Fighter2::Fighter2(List* owner, float x, float z, float agility, int hitPoints)
    : DivingFighter(owner, x, 0.7f, z, agility, hitPoints, 2.0f, 2.0f) {}

void Fighter2::fire() {
    owner->add(new Fighter2Fire(owner, x, y, z));
}

// Only texture and material: the pass's state stays as it is.
void Fighter2::draw() {
    Engine* engine = Engine::instance();
    glBindTexture(GL_TEXTURE_2D, engine->texFighter2);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
    drawShadow();
}

void Fighter2::drawModel() {
    glScalef(2, 2, 2);
    glCallList(list);
}

Mesh Fighter2::preparedMesh() {
    Mesh mesh = meshFighter2();
    smoothNormals(mesh);
    flipTextureV(mesh);
    return mesh;
}

void Fighter2::buildModels() {
    const Mesh mesh = preparedMesh();
    list = renewLists(list, 1);
    glNewList(list, GL_COMPILE);
    glPushMatrix();
    glRotatef(180, 0, 1, 0);
    drawMeshArrays(mesh, MeshArrays::Textured);
    glPopMatrix();
    glEndList();
}

Fighter2Fire::Fighter2Fire(List* owner, float x, float y, float z) : DivingFighterFire(owner, x, y, z) {}
