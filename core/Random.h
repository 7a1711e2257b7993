#pragma once

// The game's random numbers: 0 to 32767, the range its odds and spreads were tuned for
// (glibc's own rand() spans 31 bits). Seeded with std::srand.
int gameRand();
