#pragma once

class World;

// The enemy wave generator: one fixed sequence of random tests per Playing frame, tiered by score.
void runWaves(World* world);
