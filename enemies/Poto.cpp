#include "enemies/Poto.h"

#include "core/Engine.h"
#include "core/SpriteKind.h"

#include <GL/gl.h>

namespace {

constexpr float HalfWidth = 0.025f;
constexpr float Bottom = -1.5f; // from the pole's centre: the floor
constexpr float Top = 1.35f;    // just under the trap's box

} // namespace

Poto::Poto(Sprite* trap) : Sprite(trap->owner, KindPoto, trap->x, 1.5f, trap->z) {
    vz = -0.1f;
    sizeX = 0.05f;
    sizeY = 3.0f;
    sizeZ = 0.05f;
}

void Poto::move() {
    Sprite::move();
    if (z < -3.0f)
        dead = 1;
}

void Poto::collide(Sprite*) {}

void Poto::draw() {
    const Engine* engine = Engine::instance();
    glDisable(GL_TEXTURE_2D);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorBlue);
    drawShadow();
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorWhite);
    glEnable(GL_TEXTURE_2D);
}

// A square tube, one strip around the four sides; the normals lean out of the corners.
void Poto::drawShadow() {
    constexpr float h = HalfWidth;
    constexpr float ring[5][2] = {{h, h}, {-h, h}, {-h, -h}, {h, -h}, {h, h}};
    glPushMatrix();
    glTranslatef(x, y, z);
    glBegin(GL_TRIANGLE_STRIP);
    for (const auto& c : ring) {
        glNormal3f(c[0], 0, c[1]);
        glVertex3f(c[0], Bottom, c[1]);
        glVertex3f(c[0], Top, c[1]);
    }
    glEnd();
    glPopMatrix();
}
