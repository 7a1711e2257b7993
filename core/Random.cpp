#include "core/Random.h"

#include <cstdlib>

// glibc's RAND_MAX + 1 is a multiple of 32768, so the low 15 bits stay uniform.
int gameRand() {
    return std::rand() % 32768;
}
