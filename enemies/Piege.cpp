#include "enemies/Piege.h"

#include "core/Audio.h"
#include "core/Engine.h"
#include "core/List.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "enemies/Poto.h"
#include "enemies/Spirale.h"
#include "models/Angles.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float SpotRange = 3.0f;
constexpr float SpotSpeed = 0.125f;
constexpr float AlarmLength = 20.0f;  // ticks after the last contact
constexpr float LaunchPeriod = 2.0f;  // ticks between missiles
constexpr Uint32 AlarmSoundMs = 2000; // the alarm is not restarted sooner
constexpr float PulseCycle = 32.0f;
constexpr float BoxHalf = 0.15f;

float clampSpot(float v) {
    return std::clamp(v, -SpotRange, SpotRange);
}

// One face of the trap's box: four corners, with texture coordinates from lo to hi.
void boxFace(const float (&c)[4][3], float lo, float hi) {
    const float uv[4][2] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(uv[i][0], uv[i][1]);
        glVertex3fv(c[i]);
    }
}

} // namespace

Piege::Piege(List* owner, float, float)
    : Sprite(owner, KindPiege, static_cast<float>(gameRand() % 1024) / 1024.0f * 20.0f - 10.0f, 3.0f, 70.0f),
      state(Idle), spotX(0), spotZ(0), spotVX(0), spotVZ(0), alarmTimer(0), victim(nullptr), pulse(0),
      launchTimer(0), alarmSounding(0), alarmStart(0) {
    vz = -0.1f;
    sizeX = 2.0f;
    sizeY = 1.0f;
    sizeZ = 2.0f;
    owner->add(new Poto(this));
}

void Piege::move() {
    const float dt = Engine::instance()->frameStep;
    // The victim is held only while the Engine still names it as its ship: the Engine forgets a dying
    // ship before it is removed, so the trap lets go before it could read a removed one.
    if (state == Alarm && (!victim || victim != Engine::instance()->ship))
        calmDown();
    Sprite::move();
    if (z < -3.0f) {
        dead = 1;
        return;
    }
    if (alarmSounding && sdlq::getTicks() - alarmStart > AlarmSoundMs)
        alarmSounding = 0;
    switch (state) {
    case Idle:
        if (Engine::instance()->chance(30)) {
            spotVX = SpotSpeed * static_cast<float>(gameRand() % 2 - 1);
            spotVZ = SpotSpeed * static_cast<float>(gameRand() % 2 - 1);
            if (spotVX != 0 || spotVZ != 0)
                state = Roaming;
        }
        break;
    case Roaming:
        roam(dt);
        if (Engine::instance()->chance(40))
            state = Idle;
        break;
    case Alarm:
        runAlarm(dt);
        break;
    default:
        break;
    }
}

void Piege::roam(float dt) {
    spotX += spotVX * dt;
    spotZ += spotVZ * dt;
    // Past the edge the speed turns back inwards: a plain reversal could leave the spot stuck outside,
    // flipping every tick.
    if (spotX < -SpotRange)
        spotVX = std::fabs(spotVX);
    else if (spotX > SpotRange)
        spotVX = -std::fabs(spotVX);
    if (spotZ < -SpotRange)
        spotVZ = std::fabs(spotVZ);
    else if (spotZ > SpotRange)
        spotVZ = -std::fabs(spotVZ);
}

void Piege::runAlarm(float dt) {
    pulse += 2.0f * dt;
    if (pulse > PulseCycle)
        pulse -= PulseCycle;
    alarmTimer += dt;
    spotX = clampSpot(victim->x - x);
    spotZ = clampSpot(victim->z - z);
    if (launchTimer > LaunchPeriod) {
        owner->add(new Spirale(owner, victim));
        launchTimer -= LaunchPeriod;
    } else {
        launchTimer += dt;
    }
    spotX += spotVX * dt;
    spotZ += spotVZ * dt;
    if (alarmTimer > AlarmLength)
        calmDown();
}

// The alarm stops and the victim is forgotten (the ship is gone, could not be followed, or got away).
void Piege::calmDown() {
    state = Idle;
    alarmTimer = 0;
    victim = nullptr;
}

void Piege::collide(Sprite* other) {
    if (other->kind != KindMyShip)
        return;
    launchTimer = 0;
    state = Alarm;
    alarmTimer = 1;
    // No watcher slot: those are kept for the followers that need one (the pick-up beams).
    victim = other;
    if (!alarmSounding) {
        playSampleAt(Audio::Detection, 128);
        alarmStart = sdlq::getTicks();
        alarmSounding = 1;
    }
}

float Piege::heading() const {
    if (spotX == 0 && spotZ == 0)
        return 0;
    // A spot straight ahead or behind has no slope: it reads as +90 or -90 before the corrections.
    float h = spotX != 0 ? degrees(std::atan(spotZ / spotX)) : (spotZ > 0 ? 90.0f : -90.0f);
    if (spotX < 0)
        h = 180.0f - h;
    if (spotZ < 0)
        h = -h;
    return h;
}

void Piege::draw() {
    glPushMatrix();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);

    const bool alarm = alarmTimer != 0;
    const float g = pulse > 16.0f ? 0.0625f * (pulse - 16.0f) : -0.0625f * (pulse - 16.0f);
    const float cx = x + spotX, cz = z + spotZ;
    const float corners[4][3] = {
        {cx - 1, 0.02f, cz - 1}, {cx - 1, 0.02f, cz + 1}, {cx + 1, 0.02f, cz + 1}, {cx + 1, 0.02f, cz - 1}};

    // The spot on the floor.
    if (alarm)
        glColor4f(1, 0, 0, 0.2f);
    else
        glColor4f(1, 1, 0, 0.2f);
    glBegin(GL_QUADS);
    for (const auto& c : corners)
        glVertex3fv(c);
    glEnd();

    // The beam from the box down to the spot.
    const float beamG = alarm ? g : 1.0f;
    const float rimAlpha = alarm ? 0.3f : 0.1f;
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(1, beamG, 0, 0);
    glVertex3f(x, y - 0.1f, z);
    glColor4f(1, beamG, 0, rimAlpha);
    for (const auto& c : corners)
        glVertex3fv(c);
    glVertex3fv(corners[0]);
    glEnd();

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Engine::instance()->texPiege);
    if (alarm)
        glColor4f(1, g, g, 1);
    else
        glColor4f(1, 1, 1, 1);
    glPopMatrix();
    drawShadow();
    glDisable(GL_TEXTURE_2D);
    // Back to the effect pass's switches.
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Piege::drawShadow() {
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(heading(), 0, 1, 0);
    glDisable(GL_CULL_FACE);
    constexpr float s = BoxHalf;
    const float top[4][3] = {{-s, s, -s}, {s, s, -s}, {s, s, s}, {-s, s, s}};
    const float bottom[4][3] = {{-s, -s, -s}, {-s, -s, s}, {s, -s, s}, {s, -s, -s}};
    const float sides[4][4][3] = {
        {{-s, -s, s}, {s, -s, s}, {s, s, s}, {-s, s, s}},
        {{s, -s, -s}, {-s, -s, -s}, {-s, s, -s}, {s, s, -s}},
        {{s, -s, s}, {s, -s, -s}, {s, s, -s}, {s, s, s}},
        {{-s, -s, -s}, {-s, -s, s}, {-s, s, s}, {-s, s, -s}},
    };
    glBegin(GL_QUADS);
    boxFace(top, 0.3f, 0.7f);
    boxFace(bottom, 0.3f, 0.7f);
    for (const auto& side : sides)
        boxFace(side, 0.0f, 1.0f);
    glEnd();
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}
