#pragma once

// The head-up display's digit routine (four digits in world space). Weak until the text code is in the
// tree, so the ship links and simply shows no countdown without it.
void drawNumber(int value, float size) __attribute__((weak));
