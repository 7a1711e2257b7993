#include "enemies/Ship1.h"

#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Explosion.h"
#include "enemies/SpikeFan.h"
#include "models/MeshList.h"
#include "models/Angles.h"
#include "models/DebrisMeshes.h"
#include "models/Models.h"
#include "player/MyShip.h"

#include <GL/gl.h>

#include <cmath>

unsigned int Ship1::lists = 0;

namespace {

constexpr float ApproachSpeed = -0.4f;
constexpr float LoopRadius = 4.0f;
constexpr float LoopCentreHeight = 4.5f;
constexpr float LoopTurn = 4.0f; // degrees per tick
constexpr float LoopDrift = 0.05f;
constexpr float FlyHeight = 0.5f;
constexpr int RandomFireTicks = 128;

// The debris of both raiders and fighters borrows this mesh's texture coordinates.
Mesh& debrisSource() {
    static Mesh mesh;
    return mesh;
}

} // namespace

// It always comes in at the far end on its own ellipse: the lane and agility drawn for it are not used.
Ship1::Ship1(List* owner, float, float, float, int hitPoints)
    : Sprite(owner, KindShip1, 0, FlyHeight, 70.0f), state(Approach), hitPoints(hitPoints), quarter(0),
      angle(180) {
    sizeX = 1.0f;
    sizeY = 1.0f;
    sizeZ = 1.8f;
    isTarget = true;
    centreX = static_cast<float>(gameRand() % 100) / 10.0f - 5.0f;
    centreZ = 25.0f;
    radiusX = static_cast<float>(gameRand() % 70) / 10.0f + 3.0f;
    radiusZ = 12.0f;
    x = centreX - radiusX;
}

void Ship1::move() {
    const float dt = Engine::instance()->frameStep;
    switch (state) {
    case Approach:
        approach();
        break;
    case Loop:
        loop(dt);
        break;
    case Circling:
        circle(dt);
        break;
    case Leaving:
        leave();
        break;
    default:
        break;
    }
}

void Ship1::approach() {
    vz = ApproachSpeed;
    if (z < centreZ) {
        if (gameRand() % 2 == 1) {
            state = Circling;
            angle = 180;
            quarter = 2;
        } else {
            startLoop();
        }
        return;
    }
    Sprite::move();
}

void Ship1::startLoop() {
    angle = -90;
    centreX = LoopCentreHeight;
    centreZ = z;
    state = Loop;
}

// A vertical loop towards the player and back, drifting sideways onto the player's lane.
void Ship1::loop(float dt) {
    angle += LoopTurn * dt;
    z = -LoopRadius * std::cos(radians(angle)) + centreZ;
    y = LoopRadius * std::sin(radians(angle)) + centreX;
    const MyShip* ship = Engine::instance()->ship;
    if (!ship) {
        state = Leaving;
        return;
    }
    const float px = ship->x;
    x += (x <= px ? LoopDrift : -LoopDrift) * dt;
    if (angle > 270) {
        // Resume circling from this very spot: at angle 180 the ellipse passes through x.
        radiusX = (px - x) * 0.5f;
        centreX = (px + x) * 0.5f;
        state = Circling;
        angle = 180;
        quarter = 2;
        centreZ = z;
        radiusZ = 0;
        y = FlyHeight;
    }
}

// The quarter-turn re-centring; false when the raider gives up and leaves. Each quarter, once passed,
// re-centres the ellipse on the player; the steps run in order, so one frame may pass more than one.
bool Ship1::recentre(float px, float pz) {
    if (quarter == 3 && angle > 360)
        beginQuarter0(px, pz);
    if (quarter == 0 && angle > 90)
        beginQuarter1(pz);
    if (quarter == 1 && angle > 180 && !beginQuarter2(px, pz))
        return false;
    if (quarter == 2 && angle > 270)
        beginQuarter3(pz);
    return true;
}

// A full turn: the angle starts again from 0 and the ellipse's width is taken anew.
void Ship1::beginQuarter0(float px, float pz) {
    angle -= 360;
    quarter = 0;
    if (z < pz)
        radiusZ = std::fabs(centreZ - pz);
    radiusX = (x - px) * 0.5f;
    centreX = (px + x) * 0.5f;
}

// With the player behind, the turn reverses and jumps straight to the last quarter.
void Ship1::beginQuarter1(float pz) {
    quarter = 1;
    if (pz < z) {
        radiusZ = (z - pz) * 0.5f;
        centreZ = (pz + z) * 0.5f;
    } else {
        radiusZ = (pz - z) * 0.5f;
        centreZ = (pz + z) * 0.5f;
        radiusX = -radiusX;
        angle = 270;
        quarter = 3;
    }
}

// Half a turn: now and then the raider gives up (false) and leaves.
bool Ship1::beginQuarter2(float px, float pz) {
    const bool giveUp = gameRand() % 20 == 0;
    if (giveUp && radiusZ > 0) {
        state = Leaving;
        return false;
    }
    quarter = 2;
    if (pz < z)
        radiusZ = std::fabs(centreZ - pz);
    radiusX = (px - x) * 0.5f;
    centreX = (px + x) * 0.5f;
    return true;
}

// With the player ahead or level, the turn reverses back to the second quarter.
void Ship1::beginQuarter3(float pz) {
    quarter = 3;
    if (pz <= z) {
        radiusZ = (z - pz) * 0.5f;
        centreZ = (pz + z) * 0.5f;
        radiusX = -radiusX;
        angle = 90;
        quarter = 1;
    } else {
        centreZ = (pz + z) * 0.5f;
        radiusZ = (pz - z) * 0.5f;
    }
}

void Ship1::circle(float dt) {
    Engine* engine = Engine::instance();
    angle += dt;
    const MyShip* ship = engine->ship;
    if (ship && !recentre(ship->x, ship->z))
        return;
    x = radiusX * std::cos(radians(angle)) + centreX;
    z = radiusZ * std::sin(radians(angle)) + centreZ;
    if (engine->chance(RandomFireTicks))
        owner->add(new Ship1Fire(owner, x, y, z));
}

void Ship1::leave() {
    angle = 180;
    vz = ApproachSpeed;
    if (z < -3.0f)
        dead = 1;
    Sprite::move();
}

void Ship1::destroy(Sprite* other) {
    if (dead)
        return;
    owner->add(new Explosion(this, 7, true, true));
    dead = 1;
    other->addScore(Points);
}

void Ship1::collide(Sprite* other) {
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
    case KindShip1: {
        // Of two touching raiders the one nearer the player loops out of the way.
        const auto* raider = static_cast<Ship1*>(other);
        if (z < other->z && state != Loop && raider->state != Loop)
            startLoop();
        break;
    }
    default:
        break;
    }
}

void Ship1::drawWith(unsigned int list) {
    glPushMatrix();
    glTranslatef(x, y, z);
    if (state == Loop)
        glRotatef(90 + angle, 1, 0, 0); // pitch with the loop
    glCallList(list);
    glPopMatrix();
}

void Ship1::draw() {
    drawWith(lists);
}

void Ship1::drawShadow() {
    drawWith(lists + 1);
}

Mesh Ship1::preparedMesh() {
    Mesh mesh = meshShip1();
    smoothNormals(mesh);
    scalePositions(mesh, 100.0f);
    return mesh;
}

void Ship1::buildModels() {
    Mesh& mesh = debrisSource();
    mesh = preparedMesh();
    Engine* engine = Engine::instance();
    lists = renewLists(lists, 2);
    glNewList(lists, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, engine->texBandit1);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, engine->colorWhite);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glTranslatef(0, 0.2f, 0);
    glRotatef(90, 1, 0, 0);
    glRotatef(190, 0, 1, 0);
    drawMeshArrays(mesh, MeshArrays::Textured);
    glEndList();
    glNewList(lists + 1, GL_COMPILE);
    glRotatef(90, 1, 0, 0);
    glRotatef(190, 0, 1, 0);
    drawMeshArrays(mesh, MeshArrays::Positions);
    glEndList();
    registerDebrisMesh(KindShip1, &mesh);
    registerDebrisMesh(KindFighter, &mesh);
}

Ship1Fire::Ship1Fire(List* owner, float x, float y, float z)
    : Sprite(owner, KindShip1Fire, x, y, z), spin(0) {
    sizeX = sizeY = sizeZ = 0.2f;
    vz = -0.27f;
}

void Ship1Fire::move() {
    const float dt = Engine::instance()->frameStep;
    Sprite::move();
    spin += std::fmin(10.0f * dt, 20.0f);
    if (spin > 360)
        spin -= 360;
    if (z < 0)
        dead = 1;
}

void Ship1Fire::collide(Sprite* other) {
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

void Ship1Fire::fan(bool coloured) {
    drawSpikeFan(0.1f, 0.35f, coloured);
}

void Ship1Fire::draw() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(spin, 0, 0, 1);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    fan(true);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
}

void Ship1Fire::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    fan(false);
    glPopMatrix();
}
