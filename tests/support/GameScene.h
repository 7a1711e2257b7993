#pragma once

#include <SDL.h>

#include <memory>

class Engine;
class World;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// The game's Engine and World with every texture and model loaded, drawing into an offscreen frame
// buffer of its own: the real passes, read back by the scene tests.
class GameScene {
public:
    GameScene();
    ~GameScene();

    // An X display and the game's pictures (the named texture stands for them) are there to draw with.
    static bool available(const char* texture);
    // Sets the scene up at the given size with the fake clock and the seed; false when GL fails.
    bool open(int width, int height, Uint32 (*ticks)(), unsigned seed);
    void close();

    Engine* engine = nullptr;
    World* world = nullptr;

private:
    std::unique_ptr<QOpenGLContext> context;
    std::unique_ptr<QOffscreenSurface> surface;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
};
