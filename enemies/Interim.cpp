// Interim stand-ins until the enemies land.
#include "enemies/TacheBench.h"

Tache::Tache(List* owner, float x, int hitPoints)
    : Sprite(owner, 18, x, 0, 73), state(2), hitPoints(hitPoints), angle(0), glow{} {}
void Tache::draw() {}
void Tache::collide(Sprite*) {}
void Tache::move() {}
void Tache::drawShadow() {}
void Tache::walkGlow() {}
TacheBench::TacheBench(List* owner, float x, float period)
    : Tache(owner, x, 1), spawnPeriod(period), spawnTimer(0) {}
void TacheBench::move() {}

