#include "core/Game.h"

#include "core/Engine.h"
#include "core/GameShell.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "player/MyShip.h"
#include "platform/SdlCompat.h"

#include <cstdio>

#include <GL/gl.h>

namespace {

Game* theGame = nullptr;

constexpr int CheatCode = 213;

} // namespace

void (*Game::newGameHook)(World*, MyShip*) = nullptr;

Game::Game(World* world) : QObject(nullptr), world(world) {
    theGame = this;
    if (GameShell* w = window())
        w->attachGame(this);
}

Game::~Game() {
    if (theGame == this)
        theGame = nullptr;
}

Game* Game::instance() {
    return theGame;
}

GameShell* Game::window() {
    return GameShell::current();
}

void Game::prepareScene() {
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    Engine::instance()->shipDeadTime = 0;
    world->replaceSprites();
}

void Game::newGame() {
    state = Playing;
    prepareScene();
    if (GameShell* w = window())
        w->hideGameMenu();
    Engine* engine = Engine::instance();
    MyShip* ship = new MyShip(world->sprites, 100);
    engine->ship = ship;
    world->sprites->add(ship);
    if (newGameHook)
        newGameHook(world, ship);
    engine->releaseMusic(engine->menuMusic);
    engine->startMusic(engine->gameMusic, "samples/vorn.xm");
}

void Game::openOptions() {
    prepareScene();
    if (GameShell* w = window())
        w->hideGameMenu();
    state = Panel;
    world->sceneStep = 0;
    world->scenePhase = 0;
    if (GameShell* w = window())
        w->showOptions();
}

void Game::openHighScores() {
    prepareScene();
    state = Panel;
    if (GameShell* w = window()) {
        w->hideGameMenu();
        w->showHighScores();
    }
}

void Game::openCredits() {
    prepareScene();
    state = Credits;
    world->sceneStep = 0;
    world->scenePhase = 0;
    if (GameShell* w = window()) {
        w->hideGameMenu();
        w->showCredits();
    }
}

bool Game::checkHighScore(int score) {
    GameShell* w = window();
    if (!w)
        return false;
    state = Panel;
    w->hideGameMenu();
    return w->checkHighScore(score);
}

void Game::returnToMenu() {
    state = Menu;
    Engine* engine = Engine::instance();
    engine->releaseMusic(engine->gameMusic);
    engine->releaseMusic(engine->creditsMusic);
    engine->startMusic(engine->menuMusic, "samples/vorn3.xm");
}

void Game::showMenuIfIdle() {
    if (state != Menu)
        return;
    if (GameShell* w = window())
        w->showGameMenu();
}

void Game::highscoreClosed() {
    returnToMenu();
}

void Game::optionsClosed() {
    returnToMenu();
}

void Game::creditsFinished() {
    if (GameShell* w = window()) {
        w->hideCredits();
        w->showGameMenu();
    }
    returnToMenu();
}

void Game::keyDown(int key) {
    Engine* engine = Engine::instance();
    if (state == Playing && engine->shipDeadTime > 100) {
        returnToMenu();
        return;
    }
    // Escape is the menu's way out: it never starts a scene.
    if (state != Menu || key == sdlq::KeyEscape)
        return;
    // A key in the menu starts a scene: F4 held opens the options, F5 the credits, else a game.
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    engine->shipDeadTime = 0;
    world->replaceSprites();
    sceneKey = key;
    const Uint8* keys = sdlq::getKeyState();
    if (keys[sdlq::KeyF4])
        openOptions();
    else if (keys[sdlq::KeyF5])
        openCredits();
    else
        newGame();
}

void Game::activeChanged(int gain) {
    if (gain || state != Playing)
        return;
    Engine::instance()->paused = 1;
}

bool Game::handleHeldKeys(bool keyEvent) {
    Engine* engine = Engine::instance();
    const Uint8* keys = sdlq::getKeyState();
    auto onEvent = [&](int key) { return keyEvent && keys[key]; };
    bool quit = false;

    if (keys[sdlq::KeyF1])
        engine->cameraMode = 1;
    if (keys[sdlq::KeyF2])
        engine->cameraMode = 2;
    if (onEvent(sdlq::KeyF5))
        cheatCounter += 100;
    if (onEvent(sdlq::KeyF6)) {
        cheatCounter += 10;
        if (cheatCounter == CheatCode) {
            std::printf("CHEATED !!! Bad boy !");
            std::fflush(stdout);
            if (engine->ship)
                engine->ship->weaponLevel = 7;
        }
    }
    if (onEvent(sdlq::KeyF7))
        cheatCounter += 1;
    if (onEvent('p') || onEvent('c'))
        engine->paused = engine->paused ? 0 : 1;
    if (onEvent(sdlq::KeyEscape)) {
        if (state == Menu)
            quit = true;
        else if (state == Playing) {
            if (engine->ship)
                engine->ship->energy = -1;
        } else {
            if (GameShell* w = window())
                w->closeOverlays();
            returnToMenu();
        }
    }
    if (onEvent('d'))
        world->toggleShowFps();
    if (onEvent('f'))
        world->toggleFog();
    if (onEvent('g'))
        world->toggleSpecular();
    if (onEvent('s'))
        engine->shadows = !engine->shadows;
    // M mutes a game in play; the M that started it from the menu does not.
    if (onEvent('m') && state == Playing && sceneKey != 'm') {
        engine->muted = !engine->muted;
        engine->applyVolumes();
    }
    sceneKey = 0;
    return quit;
}
