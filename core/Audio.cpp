#include "core/Audio.h"

#include "core/Engine.h"
#include "core/Game.h"

#include <SDL_mixer.h>

#include <cmath>

namespace Audio {

namespace {

// A paused game stays silent: nothing that happens in its frozen frames makes a sound.
bool silenced(const Engine* engine) {
    const Game* game = Game::instance();
    return engine->paused && (!game || game->state == Playing);
}

Mix_Chunk* loadedSample(int id) {
    if (id < 0 || id >= Engine::SampleCount || !Engine::exists())
        return nullptr;
    const Engine* engine = Engine::instance();
    if (silenced(engine))
        return nullptr;
    return engine->samples[id];
}

} // namespace

void playSample(int id, int volume) {
    Mix_Chunk* chunk = loadedSample(id);
    if (!chunk)
        return;
    const int channel = Mix_PlayChannelTimed(-1, chunk, 0, -1);
    // Channel −1 means no channel was free; a volume call with it would set every channel.
    if (channel >= 0)
        Mix_Volume(channel, Engine::instance()->effectsLevel(volume));
}

int depthVolume(int volume, float z) {
    const int k = static_cast<int>((63.0f - z) * 2.0f);
    return (volume * k) / 128;
}

void playSampleAt(int id, int volume, float z) {
    if (!(z < 63.0f))
        return;
    Mix_Chunk* chunk = loadedSample(id);
    if (!chunk)
        return;
    const int channel = Mix_PlayChannelTimed(-1, chunk, 0, -1);
    if (channel >= 0)
        Mix_Volume(channel, Engine::instance()->effectsLevel(depthVolume(volume, z)));
}

} // namespace Audio
