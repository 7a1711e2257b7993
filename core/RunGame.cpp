#include "core/Engine.h"
#include "core/Game.h"
#include "core/SpriteModels.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "player/ForceFeedback.h"
#include "player/MyShip.h"

#include <SDL.h>

#include <chrono>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr Uint32 MinFrameMs = 12;
// A window nobody can see serves its events ten times a second.
constexpr Uint32 HiddenFrameMs = 100;
constexpr int StencilBits = 8;

bool initSdl() {
    // SDL's own SIGINT/SIGTERM handlers would swallow the signals meant for the program: the
    // platform layer's own turn them into the window's quit.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    bool ok = SDL_Init(SDL_INIT_TIMER | SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC) == 0;
    // A missing sound device is reported when the engine opens it; the game then plays silently.
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    // Video only lists the full-screen modes; the game draws through the window's own GL context.
    ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 && ok;
    return ok;
}

// Without a sound device the game says why, once, and plays silently.
Engine* startEngine() {
    static bool told = false;
    Engine* engine = Engine::instance();
    if (const char* why = engine->audioFailure(); why && !told) {
        std::fprintf(stderr, "Couldn't open audio: %s\n", why);
        told = true;
    }
    return engine;
}

void update(Game* game) {
    World* world = game->world;
    switch (game->state) {
    case Credits:
        world->updateCreditsScene();
        break;
    case Panel:
        world->updatePanelScene();
        break;
    case Playing:
        world->updatePlay();
        break;
    default:
        world->updateMenu();
        break;
    }
}

void render(Game* game) {
    World* world = game->world;
    switch (game->state) {
    case Credits:
        world->renderCreditsScene();
        break;
    case Panel:
        world->renderPanelScene();
        break;
    case Playing:
        world->renderPlay();
        break;
    default:
        game->showMenuIfIdle();
        game->world->renderMenu();
        break;
    }
}

// Hands the frame's events to the game: resizes, keys, focus. True when a quit came.
bool pumpEvents(Game* game, bool* keyEvent) {
    bool quit = false;
    sdlq::Event event;
    while (sdlq::pollEvent(&event)) {
        Engine* engine = Engine::instance(); // the options panel may have rebuilt it meanwhile
        switch (event.type) {
        case sdlq::QuitEvent:
            quit = true;
            break;
        case sdlq::VideoResizeEvent:
            engine->screenWidth = event.width;
            engine->screenHeight = event.height;
            break;
        case sdlq::KeyDownEvent:
            *keyEvent = true;
            game->keyDown(event.key);
            break;
        case sdlq::ActiveEvent:
            game->activeChanged(event.gain);
            break;
        default:
            break;
        }
    }
    return quit;
}

// The states that draw a 3D scene, whose size the render scale sets.
bool drawsScene(int state) {
    return state == Playing || state == Panel || state == Credits;
}

} // namespace

bool runFrame(Game* game) {
    const Uint32 frameStart = sdlq::getTicks();
    const auto workStart = std::chrono::steady_clock::now();
    Engine* engine = Engine::instance();
    // A window nobody sees neither moves nor draws the game (a pass's collisions happen as it draws);
    // the frame that finds it seen again draws at once.
    const bool wasHidden = sdlq::viewHidden();
    if (!wasHidden)
        update(game);
    if (game->state == Playing && engine->shipDeadTime > 200 && !game->checkHighScore(game->world->score))
        game->returnToMenu();

    // A pad unplugged during play pauses the game as a lost focus does.
    if (engine->serveJoystick())
        sdlq::pushActive(0);

    bool keyEvent = false;
    bool quit = pumpEvents(game, &keyEvent);
    if (game->handleHeldKeys(keyEvent))
        quit = true;

    const bool hidden = wasHidden && sdlq::viewHidden();
    if (!hidden) {
        sdlq::makeGameContextCurrent();
        render(game);
        game->world->showFrameRate();
        if (drawsScene(game->state)) {
            const std::chrono::duration<double, std::milli> work =
                std::chrono::steady_clock::now() - workStart;
            Engine::instance()->renderScale.frameDone(work.count());
        }
    }

    const Uint32 frameMs = hidden ? HiddenFrameMs : MinFrameMs;
    const Uint32 elapsed = sdlq::getTicks() - frameStart;
    if (elapsed < frameMs)
        sdlq::delay(frameMs - elapsed);
    return !quit;
}

int runGame(int, char**) {
    if (!initSdl())
        std::printf("SDL initialisation ERROR\n");
    sdlq::requestStencilBits(StencilBits);
    Engine* engine = startEngine();
    sdlq::Surface* surface = engine->applySettings(0);
    sdlq::setCaption("Torvik Orbitrax", "vornium");
    if (!surface) {
        std::fprintf(stderr, "Couldn't set %dx%d GL video mode: %s\n", engine->screenWidth,
                     engine->screenHeight, SDL_GetError());
        SDL_Quit();
        std::exit(2);
    }
    const int depth = sdlq::depthBits();
    std::printf("Depth buffer depth : %d\n", depth);
    if (depth < 24)
        std::printf("No stencil buffer, no shadows. Try 32bits mode.\n");
    else
        std::printf("Stencil buffer will be used for shadows.\n");
    std::fflush(stdout);

    World* world = World::instance();
    world->initGL();
    Game game(world);
    buildSpriteModels();
    engine->screenWidth = surface->w;
    engine->screenHeight = surface->h;
    game.cheatCounter = 0;

    while (runFrame(&game)) {
    }

    closeForceFeedback();
    World::discard();
    Engine::discard();
    SDL_Quit();
    return 0;
}

bool Game::reinitialise() {
    Engine* old = Engine::instance();
    unsigned int flags = sdlq::OpenGLFlag | (old->fullScreen ? sdlq::FullScreenFlag : 0);
    sdlq::setVideoMode(old->screenWidth, old->screenHeight, 0, flags);
    Engine::discard();
    Engine* engine = startEngine();
    const bool shown = engine->applySettings(1) != nullptr;
    sdlq::requestStencilBits(StencilBits);
    World::discard();
    world = World::instance();
    world->initGL();
    buildSpriteModels();
    MyShip::buildModels();
    return shown;
}
