#include "enemies/PieceOfShip.h"

#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "models/DebrisMeshes.h"
#include "models/Mesh.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float DebrisDrift = -0.1f;

// The texture and the mesh whose texture coordinates a piece of this kind borrows; the fighters borrow
// the raider's mesh.
unsigned int debrisTexture(int kind) {
    Engine* engine = Engine::instance();
    switch (kind) {
    case KindMyShip:
        return engine->texMyShip;
    case KindCube:
        return engine->texCube;
    case KindShip1:
        return engine->texBandit1;
    case KindFighter:
        return engine->texBandit2;
    default:
        return 0;
    }
}

const Mesh* borrowedMesh(int kind) {
    return debrisMesh(kind == KindFighter ? KindShip1 : kind);
}

// One piece, turned by its angle about its axis (vz, vx, vy) and moved to its place, as glRotatef and
// glTranslatef would place it: worked out here, so that all the pieces go to the driver in one batch
// (a software rasteriser pays for every change of matrix as for a draw of its own). Between glBegin
// and glEnd of triangles.
void debrisTriangle(const PieceOfShip::Particle& p, const Mesh* mesh) {
    const float w = p.width, h = p.height;
    const float corners[3][3] = {{3 * w, 3 * h, 0}, {-3 * w, 3 * h, 0}, {0, -3 * h, 0}};
    float turn[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    float ax = p.vz, ay = p.vx, az = p.vy;
    const float length = std::sqrt(ax * ax + ay * ay + az * az);
    // Like GL, an axis of no length leaves the piece unturned.
    if (length > 0.0f) {
        ax /= length;
        ay /= length;
        az /= length;
        const float radians = p.angle * 3.14159265358979f / 180.0f;
        const float s = std::sin(radians), c = std::cos(radians), k = 1 - c;
        const float rows[3][3] = {{ax * ax * k + c, ax * ay * k - az * s, ax * az * k + ay * s},
                                  {ay * ax * k + az * s, ay * ay * k + c, ay * az * k - ax * s},
                                  {az * ax * k - ay * s, az * ay * k + ax * s, az * az * k + c}};
        std::copy(&rows[0][0], &rows[0][0] + 9, &turn[0][0]);
    }
    int first = -1;
    // An index beyond the mesh's last triangle wraps around.
    if (mesh && mesh->triangleCount() > 0)
        first = (p.triangle % mesh->triangleCount()) * 3;
    glNormal3f(turn[0][2], turn[1][2], turn[2][2]);
    for (int c = 0; c < 3; ++c) {
        if (first >= 0) {
            const float* v = mesh->vertex(first + c);
            glTexCoord2f(v[6], v[7]);
        }
        const float* q = corners[c];
        glVertex3f(p.x + turn[0][0] * q[0] + turn[0][1] * q[1], p.y + turn[1][0] * q[0] + turn[1][1] * q[1],
                   p.z + turn[2][0] * q[0] + turn[2][1] * q[1]);
    }
}

} // namespace

PieceOfShip::PieceOfShip(Explosion* explosion, int count)
    : Sprite(explosion->owner, KindEffect, explosion->getX(), explosion->getY(), explosion->getZ()),
      count(count < 0 ? 0 : count), remaining(this->count), sourceKind(explosion->sourceKind),
      particles(static_cast<size_t>(this->count)) {
    for (Particle& p : particles) {
        p.x = x;
        p.y = y;
        p.z = z;
        p.tint = (gameRand() % 100) / 200.0f + 0.5f;
        p.width = 0.025f + (gameRand() % 150) / 1500.0f;
        p.height = 0.025f + (gameRand() % 150) / 1500.0f;
        p.life = 1;
        p.angle = 0;
        p.triangle = gameRand() % 100;
        p.sort = gameRand() % 3;
        p.phase = Flying;
        if (p.sort == 0) {
            // A flat ring of speed 0.1, carried by the floor.
            p.vx = (gameRand() % 20) / 100.0f - 0.1f;
            const float s = (gameRand() % 2 == 0) ? -1.0f : 1.0f;
            // In floats (−0.1)² is a hair above 0.01: the root would be NaN without the floor at 0.
            p.vz = s * std::sqrt(std::max(0.0f, 0.01f - p.vx * p.vx)) + DebrisDrift;
            p.vy = 0;
        } else {
            p.vx = (gameRand() % 40) / 100.0f - 0.2f;
            p.vy = (gameRand() % 100) / 300.0f;
            p.vz = (gameRand() % 40) / 100.0f - 0.2f;
        }
    }
}

float PieceOfShip::sparkAlpha(float life) {
    if (life >= 0.75f)
        return (1 - life) * 4;
    if (life > 0.5f)
        return 1;
    return 2 * life;
}

void PieceOfShip::finish(Particle& p) {
    remaining -= 1;
    p.phase = Finished;
}

void PieceOfShip::move() {
    const float dt = Engine::instance()->frameStep;
    for (Particle& p : particles) {
        if (p.phase < Flying) {
            // Resting pieces drift with the floor and sink through it.
            p.z += DebrisDrift * dt;
            p.y += -0.002f * dt;
            if (p.y < -0.3f && p.phase == Resting)
                finish(p);
            continue;
        }
        p.angle += 10 * dt;
        if (p.sort == 0) {
            p.life += -0.02f * dt;
            p.vy += -0.004f * dt;
        } else {
            p.vy += -0.006f * dt;
        }
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        p.z += p.vz * dt;
        if (p.sort != 0 && p.y < 0 && p.x > -12 && p.x < 12) {
            if (p.vy <= -0.06f) {
                p.y = -p.y;
                p.vy = -0.5f * p.vy;
            } else {
                p.y = 0;
                p.phase = Resting;
            }
        }
        if (p.y < -40 || p.life <= 0)
            finish(p);
    }
    if (remaining < 1)
        dead = 1;
}

void PieceOfShip::collide(Sprite*) {}

void PieceOfShip::drawSparks() {
    const int mode = Engine::instance()->cameraMode;
    if (mode != 1 && mode != 2)
        return;
    glBegin(GL_QUADS);
    for (const Particle& p : particles) {
        if (p.sort != 0 || p.phase != Flying)
            continue;
        const float g = 2 - p.life;
        const float w = 2 * p.width * g;
        const float h = 2 * p.height * g;
        glColor4f(1, 1, 1, sparkAlpha(p.life));
        if (mode == 1) {
            glTexCoord2f(0, 0);
            glVertex3f(p.x - w, 0.5f - h, p.z);
            glTexCoord2f(1, 0);
            glVertex3f(p.x - w, 0.5f + h, p.z);
            glTexCoord2f(1, 1);
            glVertex3f(p.x + w, 0.5f + h, p.z);
            glTexCoord2f(0, 1);
            glVertex3f(p.x + w, 0.5f - h, p.z);
        } else {
            glTexCoord2f(0, 0);
            glVertex3f(p.x - w, p.y, p.z - h);
            glTexCoord2f(1, 0);
            glVertex3f(p.x - w, p.y, p.z + h);
            glTexCoord2f(1, 1);
            glVertex3f(p.x + w, p.y, p.z + h);
            glTexCoord2f(0, 1);
            glVertex3f(p.x + w, p.y, p.z - h);
        }
    }
    glEnd();
}

void PieceOfShip::drawDebris() {
    Engine* engine = Engine::instance();
    if (sourceKind == KindTank) {
        // Tank debris: untextured pieces in a camouflage green that fades with the piece's life, the
        // colour of each taken as its material's diffuse colour.
        glDisable(GL_TEXTURE_2D);
        glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glBegin(GL_TRIANGLES);
        for (const Particle& p : particles) {
            if (p.sort == 0)
                continue;
            glColor4f(0.25f * p.tint, p.tint / 1.5f, 0.25f * p.tint, p.life);
            debrisTriangle(p, nullptr);
        }
        glEnd();
        glDisable(GL_COLOR_MATERIAL);
        glColor4f(1, 1, 1, 1);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
        return;
    }
    if (sourceKind == KindScratcher) {
        glDisable(GL_TEXTURE_2D);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorBrown);
        glBegin(GL_TRIANGLES);
        for (const Particle& p : particles)
            if (p.sort != 0)
                debrisTriangle(p, nullptr);
        glEnd();
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
        return;
    }
    if (sourceKind != KindMyShip && sourceKind != KindCube && sourceKind != KindShip1 &&
        sourceKind != KindFighter)
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, debrisTexture(sourceKind));
    const Mesh* mesh = borrowedMesh(sourceKind);
    glBegin(GL_TRIANGLES);
    for (const Particle& p : particles)
        if (p.sort != 0)
            debrisTriangle(p, mesh);
    glEnd();
}

void PieceOfShip::draw() {
    Engine* engine = Engine::instance();
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, engine->texSphere);
    drawSparks();
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    drawDebris();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}

void PieceOfShip::drawShadow() {
    glDisable(GL_CULL_FACE);
    glBegin(GL_TRIANGLES);
    for (const Particle& p : particles)
        if (p.sort != 0 && p.phase == Flying)
            debrisTriangle(p, nullptr);
    glEnd();
    glEnable(GL_CULL_FACE);
}
