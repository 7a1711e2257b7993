#pragma once

class World;
class MyShip;

// Score and bomb texts of the head-up display, reformatted only when the ship's values change.
// The World keeps the score last shown, so it holds the final score once the ship is gone.
void updateHudTexts(World* world, const MyShip* ship);
const char* scoreText();
const char* bombsText();
// Forgets the bombs shown (a new head-up display starts from nothing).
void resetHudTexts();

// The frame-rate text kept by the frame counter.
const char* fpsText();
