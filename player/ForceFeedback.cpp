#include "player/ForceFeedback.h"

#include "core/Engine.h"
#include "platform/Gamepad.h"

#include <cstring>

namespace {

const HapticApi sdlHapticApi = {
    SDL_HapticOpenFromJoystick, SDL_HapticQuery,     SDL_HapticSetAutocenter, SDL_HapticNewEffect,
    SDL_HapticGetEffectStatus,  SDL_HapticRunEffect, SDL_HapticClose,
};

const HapticApi* api = &sdlHapticApi;
SDL_Haptic* haptic = nullptr;
int shotEffect = -1;
int hitEffect = -1;
// A pad with motors but no haptic device buzzes and jolts by rumble instead.
bool rumbleInstead = false;

// Runs the effect once, unless it is still playing (rapid fire gives one buzz per effect length).
int playEffect(int effect, Gamepad::Rumble rumble) {
    if (!haptic)
        return rumbleInstead ? Gamepad::playRumble(rumble) : -1;
    if (effect < 0)
        return -1;
    if (api->getEffectStatus(haptic, effect) == 0)
        api->runEffect(haptic, effect, 1);
    return 0;
}

} // namespace

SDL_HapticEffect shotEffectDescription() {
    SDL_HapticEffect effect;
    std::memset(&effect, 0, sizeof effect);
    effect.type = SDL_HAPTIC_SINE;
    effect.periodic.type = SDL_HAPTIC_SINE;
    effect.periodic.direction.type = SDL_HAPTIC_POLAR;
    effect.periodic.direction.dir[0] = 0;
    effect.periodic.length = 100;
    effect.periodic.button = 0;
    effect.periodic.interval = 0;
    effect.periodic.period = 300;
    effect.periodic.magnitude = 30000;
    effect.periodic.attack_length = 100;
    effect.periodic.fade_length = 100;
    return effect;
}

SDL_HapticEffect hitEffectDescription() {
    SDL_HapticEffect effect;
    std::memset(&effect, 0, sizeof effect);
    effect.type = SDL_HAPTIC_SAWTOOTHDOWN;
    effect.periodic.type = SDL_HAPTIC_SAWTOOTHDOWN;
    effect.periodic.direction.type = SDL_HAPTIC_CARTESIAN;
    effect.periodic.direction.dir[0] = 0;
    effect.periodic.direction.dir[1] = 1;
    effect.periodic.direction.dir[2] = 0;
    effect.periodic.length = 500;
    effect.periodic.button = 1;
    effect.periodic.interval = 300;
    effect.periodic.period = 300;
    effect.periodic.magnitude = 30000;
    effect.periodic.attack_length = 100;
    effect.periodic.fade_length = 100;
    return effect;
}

void setHapticApi(const HapticApi* replacement) {
    api = replacement ? replacement : &sdlHapticApi;
}

SDL_Haptic* hapticDevice() {
    return haptic;
}
int shotEffectId() {
    return shotEffect;
}
int hitEffectId() {
    return hitEffect;
}

void openForceFeedback() {
    // A new Engine opens the joystick again after a video mode change: the old device goes first.
    closeForceFeedback();
    if (!Engine::exists())
        return;
    Engine* engine = Engine::instance();
    if (!engine->joystick || !engine->forceFeedback)
        return;
    rumbleInstead = true;
    haptic = api->openFromJoystick(engine->joystick);
    if (!haptic)
        return;
    if (!(api->query(haptic) & SDL_HAPTIC_SINE)) {
        api->close(haptic);
        haptic = nullptr;
        return;
    }
    api->setAutocenter(haptic, 1);
    SDL_HapticEffect shot = shotEffectDescription();
    shotEffect = api->newEffect(haptic, &shot);
    if (shotEffect < 0)
        shotEffect = -1;
    SDL_HapticEffect hit = hitEffectDescription();
    hitEffect = api->newEffect(haptic, &hit);
    if (hitEffect < 0)
        hitEffect = -1;
}

int playShotEffect() {
    return playEffect(shotEffect, Gamepad::Rumble::Shot);
}

int playHitEffect() {
    return playEffect(hitEffect, Gamepad::Rumble::Hit);
}

void closeForceFeedback() {
    if (haptic)
        api->close(haptic);
    haptic = nullptr;
    shotEffect = -1;
    hitEffect = -1;
    rumbleInstead = false;
}
