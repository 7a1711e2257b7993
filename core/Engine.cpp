#include "core/Engine.h"

#include "core/Random.h"
#include "platform/FileUtils.h"
#include "platform/Gamepad.h"
#include "player/ForceFeedback.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

Engine* theEngine = nullptr;

constexpr float lightPositionValue[4] = {2, 5, -1, 0};
constexpr float colorGreyValue[4] = {0.5f, 0.5f, 0.5f, 1};
constexpr float colorWhite2Value[4] = {1, 1, 1, 1};
constexpr float colorWhiteValue[4] = {1, 1, 1, 1};
constexpr float colorBlackValue[4] = {0, 0, 0, 0};
constexpr float colorYellowValue[4] = {1, 1, 0, 1};
constexpr float colorRedValue[4] = {1, 0, 0, 1};
constexpr float colorBlueValue[4] = {0, 0, 1, 1};
constexpr float colorOpaqueBlackValue[4] = {0, 0, 0, 1};
constexpr float colorBrownValue[4] = {0.6f, 0.3f, 0, 1};

// Sky pictures: x0, y0, x1, y1, z; row k is drawn with texSpace[k].
constexpr float skyQuadTable[4][5] = {
    {-35, 0, -50, -15, 90},
    {45, -20, 30, -35, 60},
    {0, 2, 16, 18, 90},
    {55, 5, 45, -5, 90},
};
constexpr const char* spaceFileTable[4] = {"textures/space1.png", "textures/space0.png",
                                           "textures/space3.png", "textures/space2.png"};

} // namespace

Engine::Engine()
    : lightPosition(lightPositionValue), colorGrey(colorGreyValue), colorWhite2(colorWhite2Value),
      colorWhite(colorWhiteValue), colorBlack(colorBlackValue), colorYellow(colorYellowValue),
      colorRed(colorRedValue), colorBlue(colorBlueValue), colorOpaqueBlack(colorOpaqueBlackValue),
      colorBrown(colorBrownValue), shadowMatrix{}, skyQuads(skyQuadTable) {
    // Projection onto y = 0 along the rays from ten times light 0's direction.
    const float* l = lightPositionValue;
    shadowMatrix[0] = 10 * l[1];
    shadowMatrix[4] = -10 * l[0];
    shadowMatrix[6] = -10 * l[2];
    shadowMatrix[7] = -1;
    shadowMatrix[10] = 10 * l[1];
    shadowMatrix[15] = 10 * l[1];
    for (int k = 0; k < 4; ++k)
        spaceFiles[k] = spaceFileTable[k];
}

Engine* Engine::instance() {
    if (theEngine)
        return theEngine;
    theEngine = new Engine();
    theEngine->probeCapabilities();
    theEngine->openAudio();
    theEngine->openJoystick();
    return theEngine;
}

Engine* Engine::createHeadless() {
    discard();
    theEngine = new Engine();
    return theEngine;
}

bool Engine::exists() {
    return theEngine != nullptr;
}

void Engine::discard() {
    delete theEngine;
    theEngine = nullptr;
}

Engine::~Engine() {
    releaseMusic(gameMusic);
    releaseMusic(menuMusic);
    releaseMusic(creditsMusic);
    for (Mix_Chunk*& chunk : samples) {
        if (chunk)
            Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    if (audioOpened)
        Mix_CloseAudio();
    freeTextures();
    if (joystick) {
        closeForceFeedback();
        Gamepad::close();
        joystick = nullptr;
    }
    if (theEngine == this)
        theEngine = nullptr;
}

bool Engine::chance(int meanTicks) {
    if (meanTicks == 0)
        return false;
    const int r = gameRand();
    return frameStep > static_cast<float>(meanTicks) * static_cast<float>(r) / 32000.0f;
}

std::string Engine::resourcePath(const char* name) {
    const QString path =
        tvx::FileUtils::applicationResourceFolder() + "/Resources/" + QString::fromUtf8(name);
    return QFile::encodeName(path).toStdString();
}

void Engine::openJoystick() {
    // A known gamepad comes first; its joystick is the one force feedback opens.
    joystick = Gamepad::open();
    if (joystick)
        openForceFeedback();
}

bool Engine::serveJoystick() {
    const Gamepad::Change change = Gamepad::pumpEvents();
    if (change == Gamepad::Change::Lost) {
        closeForceFeedback();
        joystick = nullptr;
    } else if (change == Gamepad::Change::Opened) {
        joystick = Gamepad::joystick();
        openForceFeedback();
    }
    return change == Gamepad::Change::Lost;
}
