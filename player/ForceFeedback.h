#pragma once

#include <SDL.h>

// Force feedback of the first joystick: a short buzz per salvo and bomb, a jolt per hit.
void openForceFeedback();
int playShotEffect();
int playHitEffect();
void closeForceFeedback();

// The SDL haptic calls the force feedback makes, replaceable so that its arguments and pacing can be
// checked without a device.
struct HapticApi {
    SDL_Haptic* (*openFromJoystick)(SDL_Joystick* joystick);
    unsigned int (*query)(SDL_Haptic* haptic);
    int (*setAutocenter)(SDL_Haptic* haptic, int autocenter);
    int (*newEffect)(SDL_Haptic* haptic, SDL_HapticEffect* effect);
    int (*getEffectStatus)(SDL_Haptic* haptic, int effect);
    int (*runEffect)(SDL_Haptic* haptic, int effect, Uint32 iterations);
    void (*close)(SDL_Haptic* haptic);
};

// Replaces the haptic calls; null restores SDL's.
void setHapticApi(const HapticApi* api);
// The open device (null when none) and the two effect ids (−1 when missing).
SDL_Haptic* hapticDevice();
int shotEffectId();
int hitEffectId();
// The two effect descriptions.
SDL_HapticEffect shotEffectDescription();
SDL_HapticEffect hitEffectDescription();
