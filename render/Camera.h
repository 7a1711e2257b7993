#pragma once

class MyShip;

// What the play camera follows, kept from frame to frame and from game to game.
extern float camX;
extern float camZ;
extern float camRoll;

// Follows the ship; after its loss glides back to the centre line and forward to depth 12, one
// fixed step per frame, keeping the last roll.
void trackCamera(MyShip* ship);

// A perspective aspect ratio designed for 4:3, stretched to the window so that nothing is distorted.
double aspectFor(double designAspect, int width, int height);
