#include "player/MyShip.h"

#include "core/Audio.h"
#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "enemies/Diamond.h"
#include "enemies/Explosion.h"
#include "enemies/SpecialEffect1.h"
#include "models/DebrisMeshes.h"
#include "models/MeshList.h"
#include "models/Models.h"
#include "platform/Gamepad.h"
#include "platform/SdlCompat.h"
#include "player/ForceFeedback.h"
#include "player/MyFire1.h"
#include "player/MyFire2.h"
#include "player/MyFire3.h"
#include "player/MyFire4.h"
#include "render/Text.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

int MyShip::up = 0;
int MyShip::down = 0;
int MyShip::left = 0;
int MyShip::right = 0;
Uint8 MyShip::fire = 0;
Uint8 MyShip::bomb = 0;
int MyShip::lastShotTime = 0;
int MyShip::fireHeldSince = 0;
int MyShip::lastBombTime = 0;

namespace {

constexpr int AxisDeadZone = 16384;
constexpr float Border = 11.75f;
constexpr float NearLimit = 2.5f;
constexpr float FarLimit = 42.0f;

bool engineStickPresent() {
    return Engine::exists() && Engine::instance()->joystick;
}
// A gamepad reads as a plain stick: left stick or d-pad on axes 0/1, A and B as buttons 0/1.
void engineStickUpdate() {
    Gamepad::update();
}
int engineStickAxis(int index) {
    return Gamepad::axis(index);
}
int engineStickButton(int index) {
    return Gamepad::button(index);
}

const MyShip::JoystickApi engineStick = {engineStickPresent, engineStickUpdate, engineStickAxis,
                                         engineStickButton};
const MyShip::JoystickApi* stick = &engineStick;

// The tick count marks the start of invulnerability; 0 would mean none, so the clock's first
// millisecond counts as 1.
int invulnerableMark() {
    const int now = static_cast<int>(sdlq::getTicks());
    return now != 0 ? now : 1;
}

int diamondType(Sprite* capsule) {
    return static_cast<Diamond*>(capsule)->capsuleType;
}

// The ship's model, prepared once and kept for the debris that borrow its texture coordinates.
Mesh shipMesh;
Mesh shieldMesh;
bool meshesPrepared = false;
unsigned int shipLists = 0;

// One engine flame: a fan from a yellow centre to a transparent red rim that flickers.
void drawFlame() {
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(1, 1, 0, 1);
    glVertex3f(0, 0, 0);
    glColor4f(1, 0, 0, 0);
    glVertex3f((gameRand() % 10) / 30.0f - 0.15f + 0.3f, -0.1f, 0);
    glVertex3f(0.15f, 0, -0.8f);
    glVertex3f(0, 0, (gameRand() % 10) / -10.0f - 1.2f);
    glVertex3f(-0.15f, 0, -0.8f);
    glVertex3f((gameRand() % 10) / 30.0f - 0.15f - 0.3f, -0.1f, 0);
    glEnd();
}

void prepareShipMeshes() {
    if (meshesPrepared)
        return;
    shipMesh = meshMyShip();
    shieldMesh = meshShield();
    smoothNormals(shipMesh);
    smoothNormals(shieldMesh);
    scalePositions(shipMesh, 120);
    meshesPrepared = true;
    registerDebrisMesh(KindMyShip, &shipMesh);
}

void compileShipList(unsigned int list, const Engine* engine) {
    glNewList(list, GL_COMPILE);
    glTranslatef(0.13f, 0, 0);
    glBindTexture(GL_TEXTURE_2D, engine->texMyShip);
    drawMeshArrays(shipMesh, MeshArrays::Textured);
    glEndList();
}

void compileShipShadowList(unsigned int list) {
    glNewList(list, GL_COMPILE);
    glTranslatef(0.13f, 0, 0);
    drawMeshArrays(shipMesh, MeshArrays::Positions);
    glEndList();
}

// The shield mirrors the floor texture: a cube-map reflection where the card has one.
void compileShieldList(unsigned int list, const Engine* engine) {
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, engine->texFloor[1]);
    const GLint mode = engine->hasCubeMap ? GL_REFLECTION_MAP : GL_OBJECT_LINEAR;
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glRotatef(-90, 1, 0, 0);
    drawMeshArrays(shieldMesh, MeshArrays::WithNormals);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEndList();
}

// The menu ship: the textured model, then its lit specular highlights added over it.
void compileMenuShipList(unsigned int list, const Engine* engine) {
    glNewList(list, GL_COMPILE);
    glTranslatef(0.13f, 0, 0);
    glMaterialfv(GL_FRONT, GL_SPECULAR, engine->colorBlack);
    glBindTexture(GL_TEXTURE_2D, engine->texMyShip);
    drawMeshArrays(shipMesh, MeshArrays::Textured);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthFunc(GL_ALWAYS);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glMaterialfv(GL_FRONT, GL_AMBIENT, engine->colorBlack);
    glMaterialfv(GL_FRONT, GL_SPECULAR, engine->colorWhite);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorBlack);
    glBindTexture(GL_TEXTURE_2D, engine->texGalaxy);
    glDisable(GL_TEXTURE_2D);
    drawMeshArrays(shipMesh, MeshArrays::WithNormals);
    glMaterialfv(GL_FRONT, GL_AMBIENT, engine->colorGrey);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorWhite);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glEndList();
}

} // namespace

int (*MyShip::capsuleTypeOf)(Sprite* capsule) = diamondType;

void MyShip::setJoystickApi(const JoystickApi* api) {
    stick = api ? api : &engineStick;
}

MyShip::MyShip(List* owner, int energy)
    : Sprite(owner, KindMyShip, 0, 0.5f, -3), weaponLevel(0), energy(energy), maxEnergy(energy),
      shipState(Arriving), accelX(0), accelZ(0), score(0), spinAngle(0), bombs(5), shotCount(0), deathTime(0),
      invulnerable(invulnerableMark()), invulnerableUntil(sdlq::getTicks() + 15000) {
    sizeX = 1.7f;
    sizeY = 0.8f;
    sizeZ = 0.5f;
    playSample(Audio::Welcome, 128);
}

MyShip::~MyShip() {
    // The play frame forgets a dying ship before removing it; any other end leaves no name behind either,
    // so that what holds the Engine's ship (a trap in alarm) never reads a removed one.
    if (Engine::exists() && Engine::instance()->ship == this)
        Engine::instance()->ship = nullptr;
}

void MyShip::addScore(int points) {
    score += points;
}

void MyShip::readControls() {
    const Uint8* keys = sdlq::getKeyState();
    up = keys[sdlq::KeyUp] ? 1 : 0;
    down = keys[sdlq::KeyDown] ? 1 : 0;
    left = keys[sdlq::KeyLeft] ? 1 : 0;
    right = keys[sdlq::KeyRight] ? 1 : 0;
    fire = (keys['w'] || keys['z'] || keys[sdlq::KeyLAlt] || keys[sdlq::KeyLCtrl]) ? 1 : 0;
    bomb = (keys['x'] || keys[sdlq::KeySpace]) ? 1 : 0;
    if (!stick->present())
        return;
    stick->update();
    const int ax = stick->axis(0);
    const int ay = stick->axis(1);
    if (!fire && stick->button(0))
        fire = 1;
    if (!bomb && stick->button(1))
        bomb = 1;
    if (!up && ay < -AxisDeadZone)
        up = 1;
    if (!down && ay > AxisDeadZone)
        down = 1;
    if (!left && ax < -AxisDeadZone)
        left = 1;
    if (!right && ax > AxisDeadZone)
        right = 1;
}

void MyShip::move() {
    const float t = Engine::instance()->frameStep;
    if (energy < 0)
        shipState = Dying;
    if (shipState == Dying) {
        deathTime += t;
        if (deathTime > 100) {
            playHitEffect();
            playSample(Audio::GameOver, 128);
            dead = 1;
            energy = 0;
            owner->add(new Explosion(this, 20, true, true));
            return;
        }
    }
    readControls();
    switch (shipState) {
    case Arriving:
        vz = 0.1f;
        Sprite::move();
        if (z > NearLimit)
            shipState = Flying;
        break;
    case Flying:
        accelX = 0.01f * static_cast<float>(left - right) * t;
        accelZ = 0.01f * static_cast<float>(up - down) * t;
        fireWeapons();
        steer(vx, accelX, left, right, t);
        steer(vz, accelZ, up, down, t);
        Sprite::move();
        keepInside();
        break;
    case Spinning:
        vx /= 1.1f;
        vz /= 1.1f;
        spinAngle += 15 * t;
        if (spinAngle > 360) {
            vx = vz = 0;
            shipState = Flying;
        }
        break;
    case Dying:
        spinAngle += 5 * t;
        break;
    default:
        break;
    }
    if (invulnerable != 0 && sdlq::getTicks() > invulnerableUntil)
        invulnerable = 0;
}

// Accelerates up to about 0.4 and glides to a stop at 0.02 per tick once the keys are released.
void MyShip::steer(float& v, float accel, int plus, int minus, float t) {
    if (v > -0.4f && v < 0.4f)
        v += accel;
    if (v < -0.02f * t && !minus)
        v += 0.02f * t;
    else if (v > 0.02f * t && !plus)
        v -= 0.02f * t;
    else if (!plus && !minus)
        v = 0;
}

// The corrections are per update, so a ship pushing at a border is slowed down over a few frames.
void MyShip::keepInside() {
    if (x < -Border) {
        x = -Border;
        if (vx < 0)
            vx += 0.02f;
        else
            vx = 0;
        accelX = 0;
    } else if (x > Border) {
        x = Border;
        if (vx > 0)
            vx -= 0.02f;
        else
            vx = 0;
        accelX = 0;
    }
    if (z > FarLimit) {
        z = FarLimit;
        if (vz > 0)
            vz -= 0.05f;
        else
            vz = 0;
        accelZ = 0;
    } else if (z < NearLimit) {
        z = NearLimit;
        if (vz < 0)
            vz += 0.05f;
        else
            vz = 0;
        accelZ = 0;
    }
}

void MyShip::fireWeapons() {
    const Uint32 now = sdlq::getTicks();
    if (!fire) {
        lastShotTime = 0;
        fireHeldSince = static_cast<int>(now);
    } else {
        const int heldFor = static_cast<int>(now - static_cast<Uint32>(fireHeldSince));
        const Uint32 interval = heldFor < 851 ? 120 : 370;
        const Uint32 t = sdlq::getTicks();
        if (t - static_cast<Uint32>(lastShotTime) > interval)
            fireSalvo(now);
    }
    if (bomb && static_cast<int>(now - static_cast<Uint32>(lastBombTime)) > 1000 && bombs > 0) {
        playShotEffect();
        owner->add(new MyFire2(this));
        bombs -= 1;
        lastBombTime = static_cast<int>(now);
    }
}

// The salvo grows with the weapon level; the homing and ground missiles are paced by the salvo count.
void MyShip::fireSalvo(Uint32 now) {
    playShotEffect();
    shotCount += 1;
    playSampleAt(Audio::Tir, 128);
    owner->add(new MyFire1(this));
    lastShotTime = static_cast<int>(now);
    if (weaponLevel > 0) {
        owner->add(new MyFire1(this, 0.02f, 1.2f));
        owner->add(new MyFire1(this, -0.02f, 1.2f));
    }
    if (weaponLevel > 1 && shotCount % 8 == 0) {
        owner->add(new MyFire3(this, 0.5f));
        owner->add(new MyFire3(this, -0.5f));
    }
    if (weaponLevel > 2) {
        owner->add(new MyFire1(this, 0.08f, -0.7f));
        owner->add(new MyFire1(this, -0.08f, -0.7f));
    }
    if (weaponLevel > 3 && shotCount % 2 == 0) {
        owner->add(new MyFire4(this, 0.007f, 0.5f));
        owner->add(new MyFire4(this, -0.007f, 0.5f));
    }
    if (weaponLevel > 4 && (shotCount + 4) % 8 == 0) {
        owner->add(new MyFire3(this, 0.5f));
        owner->add(new MyFire3(this, -0.5f));
    }
    if (weaponLevel > 5) {
        owner->add(new MyFire1(this, 0.06f, 1.2f));
        owner->add(new MyFire1(this, -0.06f, 1.2f));
    }
    if (weaponLevel > 6 && (shotCount + 2) % 4 == 0) {
        owner->add(new MyFire3(this, 0.5f));
        owner->add(new MyFire3(this, -0.5f));
    }
}

bool MyShip::takeDamage(int amount) {
    if (shipState == Spinning || shipState == Dying || invulnerable != 0)
        return false;
    energy -= amount;
    return true;
}

// Pushes the ship away from the other's centre at up to 0.2 per tick.
void MyShip::bounce(Sprite* other) {
    vx = ((x - other->getX()) / ((sizeX + other->sizeX) * 0.5f)) / 5;
    vz = ((z - other->getZ()) / ((sizeZ + other->sizeZ) * 0.5f)) / 5;
}

void MyShip::hitByShot() {
    playHitEffect();
    if (takeDamage(5) && energy >= 0) {
        owner->add(new Explosion(this, 5, true, false));
        shipState = Spinning;
        spinAngle = 0;
    }
}

void MyShip::pickCapsule(Sprite* capsule) {
    playHitEffect();
    playSampleAt(Audio::PowerUp, 128);
    const int type = capsuleTypeOf(capsule);
    owner->add(new SpecialEffect1(this, type));
    switch (type) {
    case Diamond::Shield:
        energy += maxEnergy / 6;
        if (energy > maxEnergy)
            energy = maxEnergy;
        break;
    case Diamond::Bomb:
        bombs += 1;
        break;
    case Diamond::Power:
        weaponLevel += 1;
        break;
    case Diamond::Invulnerability:
        if (invulnerable != 0) {
            invulnerableUntil += 20000;
        } else {
            invulnerable = invulnerableMark();
            invulnerableUntil = sdlq::getTicks() + 20000;
        }
        break;
    default:
        break;
    }
}

void MyShip::collide(Sprite* other) {
    switch (other->kind) {
    case KindCube:
    case KindShip1:
    case KindSpirale:
    case KindTank:
    case KindFighter:
        playHitEffect();
        bounce(other);
        if (takeDamage(10) && energy > 0)
            owner->add(new Explosion(this, 5, true, false));
        break;
    case KindShip1Fire:
    case KindFighterFire:
        hitByShot();
        break;
    case KindTankFire:
        playHitEffect();
        takeDamage(5);
        hitByShot();
        break;
    case KindScratcher:
        playHitEffect();
        takeDamage(15);
        break;
    case KindPoto:
        bounce(other);
        break;
    case KindDiamond:
        pickCapsule(other);
        break;
    default:
        break;
    }
}

void MyShip::draw() {
    Engine* engine = Engine::instance();
    glPushMatrix();
    glTranslatef(x, y, z);
    glBindTexture(GL_TEXTURE_2D, engine->texMyShip);
    if (shipState == Spinning)
        glRotatef(spinAngle, 0, 0, 1);
    if (shipState == Dying) {
        glRotatef(2 * spinAngle, 1, 0, 0);
        glRotatef(spinAngle, 0, 0, 1);
    }
    glRotatef(-60 * vx, 0, 0, 1);
    if (shipState == Dying) {
        const float s = ((gameRand() % 100) - 50) / 400.0f + 1;
        glScalef(s, s, s);
    }
    glCallList(shipLists);
    if (engine->hasSeparateSpecular)
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glTranslatef(0.3f, 0.1f, -0.15f);
    drawFlame();
    glTranslatef(-0.8f, 0, 0);
    drawFlame();
    glColor4f(1, 1, 1, 1);
    glDepthMask(GL_TRUE);
    glPopMatrix();
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);

    if (invulnerable != 0) {
        const int remaining = static_cast<int>(invulnerableUntil - sdlq::getTicks());
        const float alpha =
            remaining >= 5000 ? 0.4f : 0.4f - 0.4f * static_cast<float>(remaining % 500) / 500.0f;
        const float bubble[4] = {0.4f, 0.7f, 0.7f, alpha};
        glMaterialfv(GL_FRONT, GL_DIFFUSE, bubble);
        glPushMatrix();
        glTranslatef(x, y, z);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        glCallList(shipLists + 2);
        glDepthMask(GL_TRUE);
        glPopMatrix();
        glMaterialfv(GL_FRONT, GL_DIFFUSE, engine->colorWhite);

        glPushMatrix();
        glDisable(GL_LIGHTING);
        glDepthFunc(GL_ALWAYS);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.3f);
        glTranslatef(0.1f + x, y - 0.4f, z - 0.5f);
        drawNumber(remaining / 1000, 120);
        glDisable(GL_ALPHA_TEST);
        glPopMatrix();
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_LIGHTING);
    }
    glDisable(GL_BLEND);
}

void MyShip::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    if (shipState == Spinning)
        glRotatef(spinAngle, 0, 0, 1);
    if (shipState == Dying) {
        glRotatef(2 * spinAngle, 1, 0, 0);
        glRotatef(spinAngle, 0, 0, 1);
    }
    glRotatef(-60 * vx, 0, 0, 1);
    glCallList(shipLists + 1);
    glPopMatrix();
}

unsigned int MyShip::listBase() {
    return shipLists;
}

void MyShip::buildModels() {
    // A video mode change builds again: the mesh is prepared only once, the lists are made anew.
    prepareShipMeshes();
    const Engine* engine = Engine::instance();
    shipLists = renewLists(shipLists, 4);
    compileShipList(shipLists, engine);
    compileShipShadowList(shipLists + 1);
    compileShieldList(shipLists + 2, engine);
    compileMenuShipList(shipLists + 3, engine);
}
