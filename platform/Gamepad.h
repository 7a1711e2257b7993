#pragma once

#include <SDL.h>

#include <string>

// The player's controller: the first pad SDL's game-controller database knows (left stick or d-pad
// steer, A fires, B drops a bomb), else the first plain joystick. Owns the open SDL device; the ship
// reads it through axis() and button() in the plain-joystick layout (axes 0/1, buttons 0/1).
class Gamepad {
public:
    // What a pump of SDL's events did to the device in use.
    enum class Change { None, Opened, Lost };
    enum class Rumble { Shot, Hit };

    static constexpr int DpadAxis = 32767;
    static constexpr Uint32 ShotRumbleMs = 100;
    static constexpr Uint32 HitRumbleMs = 500;

    // Loads the user's mapping file once (saying on stderr when it is there but cannot be read), then
    // opens the first device; null when there is none (or SDL's joystick subsystem is not running).
    // The game calls it at start only.
    static SDL_Joystick* open();
    static void close();
    // The open device's joystick (a controller's own joystick), null when none is open.
    static SDL_Joystick* joystick();
    // The open game controller, null for a plain joystick or none.
    static SDL_GameController* controller();
    static bool present();
    // Refreshes the device's state (the ship calls it once per update).
    static void update();
    // Ship axis 0 (left −, right +) or 1 (up −, down +); a pressed d-pad gives full deflection.
    static int axis(int index);
    // Ship button 0 (fire: A) or 1 (bomb: B).
    static int button(int index);

    // Drains SDL's event queue: a device plugged in while none is open is opened; the one in use
    // going away is closed.
    static Change pumpEvents();

    // Rumble in place of a haptic device: a shot buzz or a hit jolt of the same lengths as the
    // haptic effects. A buzz is not restarted while it (or a jolt) still runs; a jolt is not
    // restarted while it runs. Returns 0 when the device can rumble (started or not), −1 otherwise.
    static bool hasRumble();
    static int playRumble(Rumble kind);
    // Forgets the running rumble (a new device, tests).
    static void resetRumble();
    // The call that starts the motors, replaceable so that tests see every start (SDL itself
    // folds a repeat of the same strengths into the running one); null restores SDL's.
    using RumbleCall = int (*)(SDL_Joystick* joystick, Uint16 low, Uint16 high, Uint32 ms);
    static void setRumbleCall(RumbleCall call);

    // The user's mapping file: $XDG_CONFIG_HOME (or ~/.config) + "/Torvik/gamecontrollerdb.txt".
    static std::string mappingFile();
    // Mappings read from that file (−1 when it was absent or unreadable); loaded at most once.
    static int loadedMappings();
    // Lets the next open() read the mapping file again (tests).
    static void forgetMappings();

private:
    // open(), or the same for a device plugged in while the game runs, which prints nothing.
    static SDL_Joystick* openDevice(bool atStart);
};
