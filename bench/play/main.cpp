// orbitrax_playat: the real game, with every new game put at a chosen score and weapon level, so
// scripts/bench can read the play view's frame rate at the densities of a long game without
// playing for minutes. The shipped game has no such switch.
//
//   orbitrax_playat [--score N] [--weapon L] [--shield SECONDS]

#include "app/GameApp.h"
#include "core/Game.h"
#include "core/World.h"
#include "player/MyShip.h"
#include "platform/SdlCompat.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int startScore = 0;
int startWeapon = 0;
int shieldSeconds = 15;

void shapeNewGame(World* world, MyShip* ship) {
    // The HUD copies the ship's score into the world's, which the waves read.
    ship->score = startScore;
    world->score = startScore;
    ship->weaponLevel = startWeapon;
    // A longer shield keeps the ship alive while the waves of that score build up around it.
    ship->invulnerableUntil = sdlq::getTicks() + Uint32(shieldSeconds) * 1000;
}

bool readNumber(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high)
        return false;
    out = int(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        bool ok = false;
        if (hasValue && !std::strcmp(argv[i], "--score"))
            ok = readNumber(argv[++i], 0, 10000000, startScore);
        else if (hasValue && !std::strcmp(argv[i], "--weapon"))
            ok = readNumber(argv[++i], 0, 7, startWeapon);
        else if (hasValue && !std::strcmp(argv[i], "--shield"))
            ok = readNumber(argv[++i], 0, 3600, shieldSeconds);
        if (!ok) {
            std::fprintf(stderr, "usage: orbitrax_playat [--score N] [--weapon 0-7] [--shield SECONDS]\n");
            return 1;
        }
    }
    Game::newGameHook = shapeNewGame;
    return GameApp::run(argc, argv);
}
