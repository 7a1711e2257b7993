#include "enemies/Bandit2.h"

#include "core/Engine.h"
#include "core/List.h"
#include "models/MeshList.h"
#include "models/Models.h"

#include <GL/gl.h>

unsigned int Bandit2::list = 0;

Bandit2::Bandit2(List* owner, float x, float z, float agility, int hitPoints)
    : DivingFighter(owner, x, 0.5f, z, agility, hitPoints, 1.2f, 1.8f) {}

void Bandit2::fire() {
    owner->add(new Bandit2Fire(owner, x, y, z));
}

void Bandit2::draw() {
    Engine* engine = Engine::instance();
    glBindTexture(GL_TEXTURE_2D, engine->texBandit2);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    drawShadow();
}

void Bandit2::drawModel() {
    glCallList(list);
}

Mesh Bandit2::preparedMesh() {
    Mesh mesh = meshBandit2();
    smoothNormals(mesh);
    scalePositions(mesh, 100.0f);
    return mesh;
}

void Bandit2::buildModels() {
    const Mesh mesh = preparedMesh();
    list = renewLists(list, 1);
    glNewList(list, GL_COMPILE);
    glPushMatrix();
    glTranslatef(0, 0.2f, 0);
    glRotatef(90, 0, 1, 0);
    glRotatef(90, 1, 0, 0);
    glRotatef(180, 0, 1, 0);
    drawMeshArrays(mesh, MeshArrays::Textured);
    glPopMatrix();
    glEndList();
}

Bandit2Fire::Bandit2Fire(List* owner, float x, float y, float z) : DivingFighterFire(owner, x, y, z) {}
