#include "enemies/Scratcher.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/BoxModel.h"
#include "enemies/Explosion.h"
#include "enemies/ExplosionJustSmoke.h"

#include <GL/gl.h>

namespace {

constexpr float BoxEdge = 0.2f;
constexpr float StraightAimZ = 25.0f;

unsigned int boxList = 0;

// The sprite under the owner list's cursor when it is the player's ship (the cursor rests on the
// ship during play; the list moves it to the head whenever the sprite under it is removed).
Sprite* shipAtCursor(const List* owner) {
    if (owner->count == 0 || !owner->cursor)
        return nullptr;
    Sprite* s = static_cast<Sprite*>(owner->cursor);
    return s->kind == KindMyShip ? s : nullptr;
}

} // namespace

Scratcher::Scratcher(List* owner, float x, float z, bool straight)
    : Sprite(owner, KindScratcher, x, 0.3f, z), gravity(-0.005f), smokeTimer(0) {
    sizeX = sizeY = sizeZ = 0.6f;
    vy = 0.3f;
    if (straight) {
        aimAt(x, StraightAimZ);
        return;
    }
    Sprite* ship = shipAtCursor(owner);
    if (ship && gameRand() % 3 != 0) {
        aimAt(ship->x, ship->z);
        return;
    }
    const float ax = 0.5f * static_cast<float>(gameRand() % 48) - 12.0f;
    const float az = 2.0f + static_cast<float>(gameRand() % 25);
    aimAt(ax, az);
}

void Scratcher::aimAt(float ax, float az) {
    vx = (ax - x) / JumpTicks;
    vz = (az - z) / JumpTicks;
}

void Scratcher::move() {
    if (y < 0 && vy < 0) {
        // Landed: it blows up where it came down.
        dead = 1;
        y = 0.2f;
        vy = 0;
        owner->add(new Explosion(this, 5, true, true));
        Sprite::move();
        return;
    }
    const float dt = Engine::instance()->frameStep;
    vy += gravity * dt;
    trailSmoke(dt);
    Sprite::move();
}

// A puff every 2.4, 1.7 or 1 ticks at detail levels 0, 1 and 2.
void Scratcher::trailSmoke(float dt) {
    const float period = 0.7f * static_cast<float>(2 - Engine::instance()->details) + 1.0f;
    if (smokeTimer > period) {
        const float size = 0.75f + static_cast<float>(gameRand() % 128) / 256.0f;
        owner->add(new ExplosionJustSmoke(this, size));
        smokeTimer -= period;
    } else {
        smokeTimer += dt;
    }
}

void Scratcher::collide(Sprite* other) {
    if (other->kind != KindMyFire1 && other->kind != KindMyFire2)
        return;
    if (dead)
        return;
    owner->add(new Explosion(this, 5, true, true));
    dead = 1;
}

void Scratcher::drawShadow() {
    const Engine* engine = Engine::instance();
    glPushMatrix();
    glTranslatef(x, y, z);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorRed);
    glCallList(boxList);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorWhite);
    glPopMatrix();
}

void Scratcher::draw() {
    // The box wears the crate texture, tinted red by its material.
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texCube);
    drawShadow();
    drawFloorLight();
}

// Its light on the floor grows and fades as it rises; it flickers by up to a quarter unit.
void Scratcher::drawFloorLight() {
    const float fx = x + static_cast<float>(gameRand()) / 128000.0f;
    const float fz = z + static_cast<float>(gameRand()) / 128000.0f;
    const float s = 0.7f + 0.5f * y;
    const float r = 0.5f * s;
    const float d = 0.71f * r;
    const float octagon[9][2] = {{r, 0},   {d, d},  {0, r},  {-d, d}, {-r, 0},
                                 {-d, -d}, {0, -r}, {d, -d}, {r, 0}};

    glPushMatrix();
    glTranslatef(fx, 0.05f, fz);
    // Vertex colours only show unlit and untextured (the fan has no texture coordinates); it winds
    // clockwise seen from above.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(0.8f, 0.8f, 0.3f, 1.0f - s / 15.0f);
    glVertex3f(0, 0, 0);
    glColor4f(0.3f, 0.3f, 0.3f, 0);
    for (const auto& p : octagon)
        glVertex3f(p[0], 0, p[1]);
    glEnd();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
}

void Scratcher::buildModels() {
    boxList = buildBoxList(boxList, BoxEdge);
}
