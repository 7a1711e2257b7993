#include "enemies/Tank.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/BoxModel.h"
#include "enemies/Explosion.h"
#include "models/Angles.h"
#include "player/MyShip.h"
#include "render/GlState.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

int Tank::livingCount = 0;
unsigned int Tank::hullList = 0;
unsigned int Tank::turretList = 0;

namespace {

constexpr float AdvanceSpeed = -0.1f;
constexpr float StopZ = 4.0f;
constexpr float TurnBackZ = 65.0f;
constexpr float TurnSpeed = 3.5f; // degrees per tick
constexpr float AimTicks = 10.0f;
constexpr float RecoilLimitX = 11.0f;
constexpr float ShellHeight = 0.7f;
constexpr float HullEdge = 0.6f;
constexpr float TurretEdge = 0.5f;

} // namespace

Tank::Tank(List* owner, int x, int hitPoints)
    : Sprite(owner, KindTank, static_cast<float>(x), 0.5f, 70.0f), state(Advance), hitPoints(hitPoints),
      turretAngle(-90), targetAngle(0), turnStep(0), aimTimer(0), trackScrollRight(0), trackScrollLeft(0) {
    sizeX = 1.2f;
    sizeY = 1.0f;
    sizeZ = 1.2f;
    isTarget = true;
    ++livingCount;
}

Tank::~Tank() {
    --livingCount;
}

void Tank::move() {
    Engine* engine = Engine::instance();
    const float dt = engine->frameStep;
    switch (state) {
    case Advance:
        vz = AdvanceSpeed;
        if (z < StopZ) {
            vz = 0.01f + static_cast<float>(gameRand() % 2) / 100.0f; // backs away slowly
            state = Reverse;
        }
        if (engine->chance(300))
            state = Acquire;
        break;
    case Reverse:
        if (engine->chance(100) || z > TurnBackZ)
            state = Advance;
        break;
    case Acquire:
        acquire(dt);
        break;
    case TurnTurret:
        turn(dt);
        break;
    case Aim:
        aim(dt);
        break;
    default:
        break;
    }
    scrollTracks(dt);
    Sprite::move();
}

// Takes the angle that points the turret at the ship and the shorter way to turn there. The step is
// fixed with this frame's dt, so a paused game (dt 0) waits rather than fixing a step of nothing.
void Tank::acquire(float dt) {
    if (dt <= 0)
        return;
    MyShip* ship = Engine::instance()->ship;
    if (!ship) {
        state = Advance;
        return;
    }
    // The angle is all the tank keeps of its target.
    const float tx = ship->getX();
    const float tz = ship->getZ();
    if (tx - x == 0) {
        targetAngle = tz <= z ? -90.0f : 90.0f;
    } else {
        targetAngle = degrees(std::atan(std::fabs(tz - z) / std::fabs(x - tx)));
        if (x < tx)
            targetAngle = 180.0f - targetAngle;
        if (tz < z)
            targetAngle = -targetAngle;
    }
    float d = turretAngle - targetAngle;
    if (d < 0)
        d += 360.0f;
    turnStep = d <= 180.0f ? -TurnSpeed * dt : TurnSpeed * dt;
    state = TurnTurret;
}

void Tank::turn(float dt) {
    vz = 0;
    if (dt <= 0)
        return;
    const int off = std::abs(static_cast<int>(turretAngle - targetAngle));
    if (static_cast<float>(off) < 2.5f * dt) {
        state = Aim;
        aimTimer = 0;
        return;
    }
    turretAngle += turnStep;
    if (turretAngle > 180.0f)
        turretAngle -= 360.0f;
    if (turretAngle < -180.0f)
        turretAngle += 360.0f;
}

void Tank::aim(float dt) {
    aimTimer += dt;
    if (aimTimer <= AimTicks)
        return;
    turretAngle = targetAngle;
    const float dx = -std::cos(radians(targetAngle)) / 5.0f;
    const float dz = std::sin(radians(targetAngle)) / 5.0f;
    x -= dx; // recoil, never off the field
    if (x < -RecoilLimitX)
        x = -RecoilLimitX;
    else if (x > RecoilLimitX)
        x = RecoilLimitX;
    z -= dz;
    owner->add(new TankFire(owner, this, x + 6.0f * dx, ShellHeight, z + 6.0f * dz, dx, dz, turretAngle));
    vz = 0;
    state = Reverse;
}

// The tracks roll with the ground speed; both offsets stay within (−1, 1] so texture v keeps its
// precision however long the tank lives.
void Tank::scrollTracks(float dt) {
    const float step = (0.05f + vz) * dt * 1.4f;
    for (float* offset : {&trackScrollRight, &trackScrollLeft}) {
        *offset += step;
        if (*offset > 1.0f)
            *offset -= 1.0f;
        if (*offset < -1.0f)
            *offset += 1.0f;
    }
}

void Tank::takeHit(Sprite* other) {
    if (hitPoints < 1) {
        if (dead)
            return;
        owner->add(new Explosion(this, 8, true, true));
        other->addScore(Points);
        dead = 1;
        return;
    }
    if (state != Aim && state != Acquire)
        state = Acquire; // turn on the attacker's side and fire back
}

void Tank::collide(Sprite* other) {
    switch (other->kind) {
    case KindMyShip:
    case KindMyFire1:
    case KindSpirale:
        hitPoints -= 1;
        takeHit(other);
        break;
    case KindMyFire2:
        hitPoints = -3;
        takeHit(other);
        break;
    case KindMyFire4:
        hitPoints -= 3;
        takeHit(other);
        break;
    case KindTank:
        x += 0.5f * (x - other->x) / ((sizeX + other->sizeX) * 0.5f);
        z += 0.5f * (z - other->z) / ((sizeZ + other->sizeZ) * 0.5f);
        break;
    default:
        break;
    }
}

// One side's track: a strip round its cross-section (front, bottom, back, top); v runs on with the offset.
void Tank::drawTrack(float inner, float outer, float offset, bool textured) {
    constexpr float edges[5][2] = {{0.2f, -0.6f}, {0.02f, -0.6f}, {0.02f, 0.6f}, {0.2f, 0.6f}, {0.2f, -0.6f}};
    constexpr float v[5] = {0, 1, 6, 7, 13};
    constexpr float normals[5][3] = {{0, 0, -1}, {0, 0, -1}, {0, -1, 0}, {0, 0, 1}, {0, 1, 0}};
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 5; ++i) {
        glNormal3fv(normals[i]);
        if (textured)
            glTexCoord2f(0, offset + v[i]);
        glVertex3f(inner, edges[i][0], edges[i][1]);
        if (textured)
            glTexCoord2f(0.5f, offset + v[i]);
        glVertex3f(outer, edges[i][0], edges[i][1]);
    }
    glEnd();
}

void Tank::drawBarrel() {
    constexpr float corners[5][2] = {
        {0.05f, 0.05f}, {-0.05f, 0.05f}, {-0.05f, -0.05f}, {0.05f, -0.05f}, {0.05f, 0.05f}};
    glBegin(GL_QUAD_STRIP);
    for (const auto& c : corners) {
        glNormal3f(c[0], c[1], 0);
        glVertex3f(c[0], c[1], -0.2f);
        glVertex3f(c[0], c[1], -1.0f);
    }
    glEnd();
}

void Tank::drawBody(bool textured) {
    Engine* engine = Engine::instance();
    GlState body(0, GlState::CullFace); // the tracks and the barrel are open strips, seen from both sides
    glPushMatrix();
    glTranslatef(x, y, z);
    glTranslatef(0, -y, 0); // stand on the floor
    if (textured)
        glBindTexture(GL_TEXTURE_2D, engine->texChain);
    drawTrack(0.3f, 0.6f, trackScrollRight, textured);
    drawTrack(-0.3f, -0.6f, trackScrollLeft, textured);
    if (textured) {
        glBindTexture(GL_TEXTURE_2D, engine->texCamouflage);
        glColor3f(1, 1, 1);
    }
    glTranslatef(0, 0.2f, 0);
    glCallList(hullList);
    glTranslatef(0, 0.5f, 0);
    glRotatef(90.0f + turretAngle, 0, 1, 0);
    glCallList(turretList);
    if (textured) {
        body.set(0, GlState::Texture2D);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorBlue);
    }
    drawBarrel();
    glPopMatrix();
    if (textured)
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
}

void Tank::draw() {
    drawBody(true);
}

void Tank::drawShadow() {
    drawBody(false);
}

void Tank::buildModels() {
    hullList = buildBoxList(hullList, HullEdge);
    turretList = buildBoxList(turretList, TurretEdge);
}

TankFire::TankFire(List* owner, Tank*, float x, float y, float z, float dx, float dz, float heading)
    : Sprite(owner, KindTankFire, x, y, z), heading(heading) {
    sizeX = sizeY = sizeZ = 0.2f;
    vx = 1.2f * dx;
    vz = 1.2f * dz;
}

void TankFire::move() {
    Sprite::move();
    if (z < 0 || z > 70.0f || x < -11.8f || x > 11.8f)
        dead = 1;
}

void TankFire::collide(Sprite* other) {
    switch (other->kind) {
    case KindMyShip:
    case KindMyFire1:
    case KindMyFire2:
        owner->add(new Explosion(this, 2, true, false));
        dead = 1;
        break;
    default:
        break;
    }
}

// A flame whose three long points flicker from 0.6 to 1.1 every frame.
void TankFire::fan(bool coloured) {
    const auto flicker = [] { return static_cast<float>(gameRand() % 128) * 0.00390625f + 0.6f; };
    glBegin(GL_TRIANGLE_FAN);
    if (coloured)
        glColor4f(1, 1, 1, 1);
    glVertex3f(-0.1f, 0, 0);
    if (coloured)
        glColor4f(0.8f, 0.5f, 0, 0.3f);
    glVertex3f(flicker(), 0.1f, 0);
    glVertex3f(0.4f, 0, 0.1f);
    glVertex3f(flicker(), -0.1f, 0);
    glVertex3f(0.4f, -0.1f, 0);
    glVertex3f(flicker(), 0, -0.1f);
    glVertex3f(0.4f, 0.1f, 0);
    glEnd();
}

void TankFire::draw() {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(heading, 0, 1, 0);
    fan(true);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

void TankFire::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(heading, 0, 1, 0);
    fan(false);
    glPopMatrix();
}
