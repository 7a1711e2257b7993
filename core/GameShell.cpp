#include "core/GameShell.h"

namespace {
GameShell* (*locator)() = nullptr;
} // namespace

GameShell* GameShell::current() {
    return locator ? locator() : nullptr;
}

void GameShell::setLocator(GameShell* (*locate)()) {
    locator = locate;
}
