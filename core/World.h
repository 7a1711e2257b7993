#pragma once

#include <SDL.h>

class ListSprite;

// The world: score, the sprites of the current scene, the background-scene state, the sky and floor,
// and the per-state update and render passes.
class World {
public:
    static constexpr int StarCount = 300;
    static constexpr int FloorRows = 15;
    static constexpr int FloorColumns = 6;

    static World* instance();
    // Destroys the current World and its sprites; the next instance() makes a new one.
    static void discard();
    static bool exists();

    World();
    ~World();

    // Destroys the sprites of the current scene and starts an empty list; forgets the ship.
    void replaceSprites();

    void initGL();
    void updateMenu();
    void updatePlay();
    void updateCreditsScene();
    void updatePanelScene();
    void renderMenu();
    void renderPlay();
    void renderCreditsScene();
    void renderPanelScene();
    void showFrameRate();
    void toggleShowFps();
    void toggleFog();
    void toggleSpecular();
    // The next frame of every scene steps by nothing: time spent switching the screen mode is not play.
    void restartClocks();

    void drawSky();
    void drawFloor();
    void drawShadowPass(bool ownBlending);
    void drawHud();
    void measureFrameTime();

    int score = -1;
    ListSprite* sprites;
    int starCount = StarCount;
    int sceneStep = 0;
    float scenePhase = 0.0f;
    float stars[StarCount][6];
    int frameMs = 1;
    Uint32 lastFrameTicks = 0;
    int showFps = 0;
    int fogOn = 1;
    int specularOn = 1;
    int floorRow = 0;
    float floorScroll = 0.0f;
    int floorVariant[FloorRows * FloorColumns];
    int floorMapVariant[FloorRows * FloorColumns];

    // Options the Panel scene saw last, to apply changes made by the options panel at once.
    int seenFilter = -1;
    int seenAnisotropic = -1;
    int seenDetails = -1;
    int seenShadows = -1;

private:
    float stepFrame(Uint32& last, bool& started, float ticksPerStep);
    void updateScene(int nests, float spacing, float spawnPeriod, bool repeat);
    void applyPanelOptions();
    // One play frame is these two steps, in this order, then the head-up display.
    void drawPlayScene();
    // Collisions, the ship's loss and the time since, then the dead sprites leave the list.
    void settlePlayFrame();

    Uint32 lastMenuTicks = 0, lastPlayTicks = 0, lastCreditsTicks = 0, lastPanelTicks = 0;
    bool menuStarted = false, playStarted = false, creditsStarted = false, panelStarted = false;
};
