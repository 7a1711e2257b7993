#include "enemies/TacheBench.h"

#include "core/Audio.h"
#include "core/Engine.h"

TacheBench::TacheBench(List* owner, float x, float spawnPeriod)
    : Tache(owner, x, 1), spawnPeriod(spawnPeriod), spawnTimer(0) {}

// Hatches on its period whatever its state: a bench nest never stops.
void TacheBench::move() {
    walkGlow();
    spawnTimer += Engine::instance()->frameStep;
    if (spawnTimer > spawnPeriod) {
        spawnTimer -= spawnPeriod;
        playSample(Audio::TacheFire, 128);
        hatch(true);
    }
    drift();
}
