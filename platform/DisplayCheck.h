#pragma once

#include <cstdio>

// Whether the window can be opened at all, asked before Qt, which aborts without a display.
namespace DisplayCheck {

// On the X platform (Qt's default here, unless a Wayland display or another platform is named),
// connects to the display of "-display" or $DISPLAY once. Says why on err and returns 1 when there
// is none or nothing answers there; returns −1 when the game should start.
int refuse(int argc, char** argv, std::FILE* err);

} // namespace DisplayCheck
