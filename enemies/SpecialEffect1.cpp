#include "enemies/SpecialEffect1.h"

#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "player/MyShip.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Beam colour at the foot by capsule type: shield, bomb, power, invulnerability.
constexpr float beamColours[4][3] = {{0.2f, 0.2f, 1.0f}, {1, 1, 0}, {1, 0, 0.6f}, {0.2f, 1, 0.2f}};

int baseBeams(int weaponLevel, int capsuleType) {
    if (capsuleType == 2)
        return weaponLevel + 16;
    if (capsuleType == 3)
        return weaponLevel + 12;
    return weaponLevel + 9;
}

} // namespace

SpecialEffect1::SpecialEffect1(MyShip* host, int capsuleType)
    : Sprite(host->owner, KindEffect, 0, 0, 0), host(nullptr), capsuleType(capsuleType), count(0),
      duration(0), time(0) {
    const int base = baseBeams(host->weaponLevel, capsuleType);
    const int details = std::clamp(Engine::instance()->details, 0, 2);
    count = std::max(0, base / (3 - details));
    offsetX.resize(count);
    offsetZ.resize(count);
    lifetime.resize(count);
    for (int i = 0; i < count; ++i) {
        offsetX[i] = (gameRand() % 100) / 50.0f - 1;
        offsetZ[i] = 1 - 2.0f * i / count;
        lifetime[i] = ((gameRand() % 1000) / 12.0f + 20) * base / 10.0f;
        duration = std::max(duration, lifetime[i]);
    }
    // A ship with five followers already gets an effect that is not drawn and just runs out.
    if (host->addWatcher(this))
        this->host = host;
}

void SpecialEffect1::move() {
    time += Engine::instance()->frameStep;
    if (time > duration)
        dead = 1;
}

void SpecialEffect1::collide(Sprite*) {}

void SpecialEffect1::prepareRemoval() {
    Sprite::prepareRemoval();
    if (host)
        host->removeWatcher(this);
    host = nullptr;
}

void SpecialEffect1::watchedRemoved(Sprite* removed) {
    if (removed != host)
        return;
    host = nullptr;
    dead = 1;
}

void SpecialEffect1::draw() {
    if (!host)
        return;
    Engine* engine = Engine::instance();
    const float* colour = beamColours[std::clamp(capsuleType, 0, 3)];
    glPushMatrix();
    glTranslatef(host->getX(), host->getY(), host->getZ());
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, engine->texEffect1);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    for (int i = 0; i < count; ++i) {
        const float life = lifetime[i];
        if (life < time)
            continue;
        // The beam brightens to full at half its life and fades out at its end.
        const float a = time <= life / 2 ? 2 * time / life : 2 - 2 * time / life;
        glColor4f(1, 1, 1, 0);
        glTexCoord2f(1, 0);
        glVertex3f(3.5f * offsetX[i] - 0.2f, 7, 3.5f * offsetZ[i]);
        glTexCoord2f(0, 0);
        glVertex3f(3.5f * offsetX[i] + 0.2f, 7, 3.5f * offsetZ[i]);
        glColor4f(colour[0], colour[1], colour[2], a);
        glTexCoord2f(0, 0.99f);
        glVertex3f(offsetX[i] + 0.2f, 0, offsetZ[i]);
        glTexCoord2f(1, 0.99f);
        glVertex3f(offsetX[i] - 0.2f, 0, offsetZ[i]);
    }
    glEnd();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
