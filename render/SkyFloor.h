#pragma once

class World;

// Moves the floor ring towards the viewer by step ticks (0.1 world units per tick). When a whole row
// has passed, the nearest row becomes the farthest with fresh random tiles; returns true then.
bool scrollFloor(World* world, float step);

// Stars drawn at a details level: a third at 0, half at 1, all at 2.
int visibleStars(int starCount, int details);

// Per-vertex colour of the two-texture floor: tinted by the direction from the ship (or from the
// field's centre without one). One buffer, overwritten by the next call.
const float* floorLightColor(float x, float y, float z);

// Whether drawFloor takes the two-texture path on this driver at this details level.
bool floorUsesTwoTextures();
