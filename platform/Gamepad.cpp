#include "platform/Gamepad.h"

#include "platform/SdlCompat.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

SDL_GameController* pad = nullptr;
SDL_Joystick* stick = nullptr;
SDL_JoystickID padId = -1;
bool mappingsTried = false;
int mappingCount = -1;
// SDL ticks at which the running buzz and jolt end.
Uint32 shotEnd = 0;
Uint32 hitEnd = 0;
Gamepad::RumbleCall rumbleCall = SDL_JoystickRumble;

constexpr int DeviceNone = -1;

struct RumbleStrength {
    Uint16 low;
    Uint16 high;
    Uint32 ms;
};
constexpr RumbleStrength shotRumble = {0x2000, 0x9000, Gamepad::ShotRumbleMs};
constexpr RumbleStrength hitRumble = {0xe000, 0x6000, Gamepad::HitRumbleMs};

// Reads the user's mapping file once. A file that is there but cannot be read is reported on stderr,
// only when asked (at start): while the game runs it prints nothing.
void loadMappings(bool report) {
    if (mappingsTried)
        return;
    mappingsTried = true;
    const std::string path = Gamepad::mappingFile();
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return; // no file: the built-in mappings serve
    std::string why;
    if (!S_ISREG(info.st_mode)) {
        why = "not a file";
    } else if (std::FILE* file = std::fopen(path.c_str(), "rb"); !file) {
        why = std::strerror(errno);
    } else {
        std::fclose(file);
        mappingCount = SDL_GameControllerAddMappingsFromFile(path.c_str());
        if (mappingCount < 0)
            why = SDL_GetError();
    }
    if (!why.empty() && report)
        std::fprintf(stderr, "Couldn't read the gamepad mappings in '%s': %s\n", path.c_str(), why.c_str());
}

// The device to use: the first one SDL knows as a game controller, else the first joystick.
int chooseDevice() {
    const int count = SDL_NumJoysticks();
    for (int k = 0; k < count; ++k)
        if (SDL_IsGameController(k))
            return k;
    return count > 0 ? 0 : DeviceNone;
}

bool running(Uint32 now, Uint32 end) {
    return static_cast<Sint32>(end - now) > 0;
}

} // namespace

std::string Gamepad::mappingFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && config[0] == '/')
        folder = config;
    else if (const char* home = std::getenv("HOME"); home && home[0])
        folder = std::string(home) + "/.config";
    else
        return std::string();
    return folder + "/Torvik/gamecontrollerdb.txt";
}

int Gamepad::loadedMappings() {
    return mappingCount;
}

void Gamepad::forgetMappings() {
    mappingsTried = false;
    mappingCount = -1;
}

SDL_Joystick* Gamepad::open() {
    return openDevice(true);
}

SDL_Joystick* Gamepad::openDevice(bool atStart) {
    if (stick)
        return stick;
    if (!SDL_WasInit(SDL_INIT_JOYSTICK))
        return nullptr;
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER))
        loadMappings(atStart);
    const int device = chooseDevice();
    if (device == DeviceNone)
        return nullptr;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(device)) {
        pad = SDL_GameControllerOpen(device);
        if (pad)
            stick = SDL_GameControllerGetJoystick(pad);
    }
    if (!stick)
        stick = SDL_JoystickOpen(device);
    padId = stick ? SDL_JoystickInstanceID(stick) : -1;
    resetRumble();
    return stick;
}

void Gamepad::close() {
    if (pad)
        SDL_GameControllerClose(pad);
    else if (stick)
        SDL_JoystickClose(stick);
    pad = nullptr;
    stick = nullptr;
    padId = -1;
    resetRumble();
}

SDL_Joystick* Gamepad::joystick() {
    return stick;
}

SDL_GameController* Gamepad::controller() {
    return pad;
}

bool Gamepad::present() {
    return stick != nullptr;
}

void Gamepad::update() {
    if (pad)
        SDL_GameControllerUpdate();
    else if (stick)
        SDL_JoystickUpdate();
}

int Gamepad::axis(int index) {
    if (!stick)
        return 0;
    if (!pad)
        return SDL_JoystickGetAxis(stick, index);
    SDL_GameControllerButton minus = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    SDL_GameControllerButton plus = SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    SDL_GameControllerAxis stickAxis = SDL_CONTROLLER_AXIS_LEFTX;
    if (index == 1) {
        minus = SDL_CONTROLLER_BUTTON_DPAD_UP;
        plus = SDL_CONTROLLER_BUTTON_DPAD_DOWN;
        stickAxis = SDL_CONTROLLER_AXIS_LEFTY;
    } else if (index != 0) {
        return 0;
    }
    // The d-pad wins over the stick; both pressed cancel out.
    const int dpad = SDL_GameControllerGetButton(pad, plus) - SDL_GameControllerGetButton(pad, minus);
    if (dpad != 0)
        return dpad * DpadAxis;
    return SDL_GameControllerGetAxis(pad, stickAxis);
}

int Gamepad::button(int index) {
    if (!stick)
        return 0;
    if (!pad)
        return SDL_JoystickGetButton(stick, index);
    if (index == 0)
        return SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A);
    if (index == 1)
        return SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B);
    return 0;
}

Gamepad::Change Gamepad::pumpEvents() {
    if (!SDL_WasInit(SDL_INIT_JOYSTICK))
        return Change::None;
    Change change = Change::None;
    bool added = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_JOYDEVICEADDED:
        case SDL_CONTROLLERDEVICEADDED:
            added = true;
            break;
        case SDL_JOYDEVICEREMOVED:
            if (stick && event.jdevice.which == padId) {
                close();
                change = Change::Lost;
            }
            break;
        default:
            break;
        }
    }
    // A pad that was lost and plugged in again in the same frame counts as lost: the game pauses.
    if (added && !stick && openDevice(false) && change == Change::None)
        change = Change::Opened;
    return change;
}

bool Gamepad::hasRumble() {
    return stick && SDL_JoystickHasRumble(stick);
}

int Gamepad::playRumble(Rumble kind) {
    if (!hasRumble())
        return -1;
    const Uint32 now = sdlq::getTicks();
    const RumbleStrength& strength = kind == Rumble::Shot ? shotRumble : hitRumble;
    Uint32& end = kind == Rumble::Shot ? shotEnd : hitEnd;
    // One set of motors: a buzz would cut a running jolt short.
    if (running(now, end) || (kind == Rumble::Shot && running(now, hitEnd)))
        return 0;
    if (rumbleCall(stick, strength.low, strength.high, strength.ms) == 0)
        end = now + strength.ms;
    return 0;
}

void Gamepad::resetRumble() {
    const Uint32 now = sdlq::getTicks();
    shotEnd = now;
    hitEnd = now;
}

void Gamepad::setRumbleCall(RumbleCall call) {
    rumbleCall = call ? call : SDL_JoystickRumble;
}
