#pragma once

#include "render/RenderScale.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>
#include <vector>

class MyShip;
struct TextureFile;
namespace sdlq {
struct Surface;
}

// The one global context: time step, pause, the player's ship, camera, screen, graphic options,
// renderer capabilities, textures, colours, music and samples.
class Engine {
public:
    static constexpr int SampleCount = 9;

    // Creates the Engine on first use: probes the renderer, opens audio and, once audio is open, the first
    // joystick. A failed audio device is reported by audioFailure(); the caller decides what follows.
    static Engine* instance();
    // Creates a bare Engine with the defaults only (no GL, audio or joystick): for headless tests.
    static Engine* createHeadless();
    // Destroys the current Engine, releasing its music, samples and joystick; the next instance() makes anew.
    static void discard();
    static bool exists();

    ~Engine();

    sdlq::Surface* applySettings(int expectedRunning);
    // Reads the stored options (or the defaults after an unclean exit) and marks the run as started.
    void loadSettings(int expectedRunning);
    void saveSettings();
    bool chance(int meanTicks);
    // Hot-plugging: takes a pad plugged in while none is open, lets go of one unplugged. True when
    // the pad in use went away.
    bool serveJoystick();
    static std::string resourcePath(const char* name);
    // Why the audio device could not be opened, in the device's own words; null once it opened (or when
    // it was never tried, as in a headless Engine).
    const char* audioFailure() const { return audioFailed ? audioError.c_str() : nullptr; }

    // Textures (the renderer's part of the Engine).
    void probeCapabilities();
    void loadTexture(unsigned int* name, const char* file);
    void loadTextures();
    // Every texture file loadTextures reads, in its order, with the fields its names go to.
    std::vector<TextureFile> textureFiles();
    void applyFilterOption(int filter);
    // Deletes the texture names this Engine made (a new Engine loads them again).
    void freeTextures();

    // Music slots: each switch pauses and releases before loading. Without a sound device the game
    // plays silently: nothing is loaded.
    void releaseMusic(Mix_Music*& slot);
    void startMusic(Mix_Music*& slot, const char* file);
    // Sets the mixer's music volume from musicVolume and muted; samples read theirs as they start.
    void applyVolumes();
    // A sample's channel volume (0–128) scaled by the effects volume, 0 when muted.
    int effectsLevel(int volume) const;

    float frameStep = 1.0f;
    int paused = 0;
    MyShip* ship = nullptr;
    int cameraMode = 1;
    SDL_Joystick* joystick = nullptr;
    int screenHeight = 768;
    int screenWidth = 1024;
    float menuAngle = 0.0f;
    float shipDeadTime = 0.0f;
    bool shadows = true;
    bool fullScreen = false;
    bool hasCombineDot3 = false;
    bool hasCubeMap = false;
    bool hasSeparateSpecular = false;
    float maxAnisotropy = 0.0f;
    int details = 2;
    int textureFilter = 2;
    int anisotropic = 0;
    int forceFeedback = 1;
    // Percent, 0–100; muted silences both for this run only.
    int musicVolume = 100;
    int effectsVolume = 100;
    bool muted = false;
    // The 3D scene's size per side: Auto follows the frame time, Full keeps the window's size.
    RenderScale renderScale;

    unsigned int texChars = 0;
    unsigned int texTitle[6] = {};
    unsigned int texSmoke[3] = {};
    unsigned int texCube = 0;
    unsigned int texFloor[5] = {};
    unsigned int texFloorMap[5] = {};
    unsigned int texBandit1 = 0;
    unsigned int texBandit2 = 0;
    unsigned int texMyShip = 0;
    unsigned int texPiege = 0;
    unsigned int texChain = 0;
    unsigned int texCamouflage = 0;
    unsigned int texTache = 0;
    unsigned int texDeadTache = 0;
    unsigned int texSphere = 0;
    unsigned int texGameOver = 0;
    unsigned int texBoard = 0;
    unsigned int texGalaxy = 0;
    unsigned int texBorder = 0;
    unsigned int texMark = 0;
    unsigned int texThunder = 0;
    unsigned int texEffect1 = 0;
    unsigned int texMissile = 0;
    unsigned int texFighter2 = 0;
    unsigned int texCapsule[4] = {};

    // Colour table: constant arrays of four floats.
    const float* lightPosition;
    const float* colorGrey;
    const float* colorWhite2;
    const float* colorWhite;
    const float* colorBlack;
    const float* colorYellow;
    const float* colorRed;
    const float* colorBlue;
    const float* colorOpaqueBlack;
    const float* colorBrown;

    // Planar projection onto the floor along light 0, column-major.
    float shadowMatrix[16];

    const char* spaceFiles[4];
    const float (*skyQuads)[5];
    unsigned int texSpace[4] = {};

    Mix_Music* gameMusic = nullptr;
    Mix_Music* menuMusic = nullptr;
    Mix_Music* creditsMusic = nullptr;
    Mix_Chunk* samples[SampleCount] = {};

private:
    Engine();
    bool openAudio();
    void loadSamples();
    void openJoystick();

    bool audioOpened = false;
    bool audioFailed = false;
    std::string audioError;
};
