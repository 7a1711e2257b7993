#pragma once

#include "models/Mesh.h"

// The game's 3D models in the raw units that each class's buildModels expects. Each call builds a
// fresh copy; the classes prepare (smooth, scale, flip) and compile their own copy once.
Mesh meshMyShip();   // positions divided by 120 afterwards; drawn translated (0.13, 0, 0)
Mesh meshShield();   // the ship's shield bubble, used as it is, rotated −90° about x
Mesh meshBandit2();  // positions divided by 100
Mesh meshFighter2(); // texture v flipped; drawn scaled by 2
Mesh meshShip1();    // positions divided by 100
Mesh meshCube();     // positions divided by 1.5
Mesh meshCapsule();  // texture v flipped
Mesh meshMissile();  // positions divided by 800
