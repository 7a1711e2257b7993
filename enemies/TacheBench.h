#pragma once

#include "enemies/Tache.h"

// A nest of the background scenes: hatches on a fixed period and throws its scratchers straight ahead.
class TacheBench : public Tache {
public:
    TacheBench(List* owner, float x, float spawnPeriod);

    void move() override;

    float spawnPeriod;
    float spawnTimer;
};
