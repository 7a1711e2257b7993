#pragma once

// The game's random numbers: 0 to 32767, the range its odds and spreads were tuned for
// (glibc's own rand() spans 31 bits). The game never seeds it, on purpose: every start plays the same
// sequence (std::rand's default seed of 1). Tests seed it with std::srand to pick a sequence of their own.
int gameRand();
