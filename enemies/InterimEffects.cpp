// Interim stand-ins until the explosions land.
#include "enemies/Explosion.h"

Explosion::Explosion(Sprite* source, int size, bool, bool withDebris, float, float, float)
    : Sprite(source->owner, 8, source->getX(), source->getY(), source->getZ()), size(size), smokeVariant(0),
      radius(0), lobe1(0), lobe2(0), lobe3(0), lobe4(0), roll(0), sourceKind(source->kind), withDebris(withDebris) {}
void Explosion::draw() {}
void Explosion::collide(Sprite*) {}
void Explosion::move() { dead = 1; }
