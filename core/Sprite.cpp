#include "core/Sprite.h"

#include "core/Audio.h"
#include "core/Engine.h"

Sprite::Sprite(List* owner, int kind, float x, float y, float z)
    : Elem(owner), watchers{}, watcherCount(0), kind(kind), x(x), y(y), z(z), vx(0), vy(0), vz(0), sizeX(0),
      sizeY(0), sizeZ(0), dead(0), isTarget(false) {}

Sprite::~Sprite() = default;

void Sprite::move() {
    const float t = Engine::instance()->frameStep;
    x += vx * t;
    y += vy * t;
    z += vz * t;
}

void Sprite::drawShadow() {}

float Sprite::getX() {
    return x;
}
float Sprite::getY() {
    return y;
}
float Sprite::getZ() {
    return z;
}

void Sprite::addScore(int) {}

void Sprite::prepareRemoval() {
    if (watcherCount == 0)
        return;
    for (Sprite* w : watchers)
        if (w)
            w->watchedRemoved(this);
}

void Sprite::watchedRemoved(Sprite*) {}

bool Sprite::addWatcher(Sprite* w) {
    for (Sprite*& slot : watchers) {
        if (!slot) {
            slot = w;
            watcherCount++;
            return true;
        }
    }
    return false;
}

void Sprite::removeWatcher(Sprite* w) {
    if (!w)
        return;
    for (Sprite*& slot : watchers) {
        if (slot == w) {
            slot = nullptr;
            watcherCount--;
            return;
        }
    }
}

void Sprite::playSample(int id, int volume) {
    Audio::playSample(id, volume);
}

void Sprite::playSampleAt(int id, int volume) {
    Audio::playSampleAt(id, volume, z);
}
