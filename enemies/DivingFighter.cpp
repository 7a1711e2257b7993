#include "enemies/DivingFighter.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/SpikeFan.h"
#include "player/MyShip.h"

#include <GL/gl.h>

namespace {

constexpr float DiveAccel = 0.012f; // per tick
constexpr float ClimbAccel = 0.02f;
constexpr float TrackAccel = 0.004f;
constexpr float FirstBrakeZ = 14.0f;
constexpr float FallBackZ = 40.0f;
constexpr float DropShotZ = 13.0f;
constexpr float LeaveZ = -3.0f;
constexpr int RandomFireTicks = 128;
constexpr float Shove = 0.04f;

} // namespace

DivingFighter::DivingFighter(List* owner, float x, float y, float z, float agility, int hitPoints,
                             float sizeX, float sizeZ)
    : Sprite(owner, KindFighter, x, y, z), state(FirstDive), hitPoints(hitPoints), agility(agility) {
    this->sizeX = sizeX;
    this->sizeY = 1.0f;
    this->sizeZ = sizeZ;
    isTarget = true;
}

void DivingFighter::stepState(float dt) {
    switch (state) {
    case FirstDive:
        vz += -DiveAccel * dt;
        if (z < FirstBrakeZ)
            state = FallBack;
        break;
    case FallBack:
        vz += DiveAccel * dt;
        if (z > FallBackZ)
            state = SecondDive;
        break;
    case SecondDive:
        vz -= DiveAccel; // once a frame, whatever the step
        if (z < DropShotZ) {
            state = Climb;
            fire();
        }
        break;
    case Climb:
        vy += ClimbAccel * dt;
        vx += (x < 0 ? -ClimbAccel : ClimbAccel) * dt;
        if (z < LeaveZ)
            dead = 1;
        break;
    default:
        break;
    }
}

// Drifts towards the ship; inside the dead zone of ±2 × agility both pulls cancel.
void DivingFighter::trackShip(float dt) {
    const MyShip* ship = Engine::instance()->ship;
    if (!ship)
        return;
    const float px = ship->x;
    if (px > x - 2.0f * agility)
        vx += TrackAccel * dt;
    if (px < x + 2.0f * agility)
        vx += -TrackAccel * dt;
}

void DivingFighter::clampSpeed() {
    const float maxZ = 0.5f * agility;
    const float maxX = 0.2f * agility;
    if (vz < -maxZ)
        vz = -maxZ;
    else if (vz > maxZ)
        vz = maxZ;
    if (vx < -maxX)
        vx = -maxX;
    else if (vx > maxX)
        vx = maxX;
}

void DivingFighter::move() {
    Engine* engine = Engine::instance();
    const float dt = engine->frameStep;
    stepState(dt);
    if (state == FirstDive || state == FallBack || state == SecondDive) {
        trackShip(dt);
        if (engine->chance(RandomFireTicks))
            fire();
    }
    clampSpeed();
    Sprite::move();
}

void DivingFighter::destroy(Sprite* other) {
    if (dead)
        return;
    owner->add(new Explosion(this, 7, true, true));
    dead = 1;
    other->addScore(Points);
}

void DivingFighter::collide(Sprite* other) {
    switch (other->kind) {
    case KindMyShip:
    case KindMyFire2:
        hitPoints = -1;
        destroy(other);
        break;
    case KindMyFire1:
    case KindSpirale:
        if (--hitPoints <= 0)
            destroy(other);
        break;
    case KindFighter:
        vx += x - other->x > 0 ? Shove : -Shove;
        vz += z - other->z <= 0 ? -Shove : Shove;
        break;
    default:
        break;
    }
}

void DivingFighter::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(-100.0f * vx, 0, 0, 1); // bank into the sideways drift
    glRotatef(100.0f * vy, 1, 0, 0);  // pitch up while climbing
    drawModel();
    glPopMatrix();
}

DivingFighterFire::DivingFighterFire(List* owner, float x, float y, float z)
    : Sprite(owner, KindFighterFire, x, y, z) {
    sizeX = sizeY = sizeZ = 0.2f;
    vz = -0.5f;
}

void DivingFighterFire::move() {
    Sprite::move();
    if (z < 0)
        dead = 1;
}

void DivingFighterFire::collide(Sprite* other) {
    switch (other->kind) {
    case KindMyShip:
    case KindMyFire1:
    case KindMyFire2:
    case KindCube:
        owner->add(new Explosion(this, 2, true, false));
        dead = 1;
        break;
    default:
        break;
    }
}

void DivingFighterFire::fan(bool coloured) {
    drawSpikeFan(0.15f, 0.5f, coloured);
}

void DivingFighterFire::draw() {
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glTranslatef(x, y, z);
    fan(true);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
}

void DivingFighterFire::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    fan(false);
    glPopMatrix();
}
