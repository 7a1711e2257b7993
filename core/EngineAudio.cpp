#include "core/Audio.h"
#include "core/Engine.h"

#include <cstdio>

bool Engine::openAudio() {
    if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) < 0) {
        audioFailed = true;
        audioError = SDL_GetError();
        return false;
    }
    audioOpened = true;
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    Mix_AllocateChannels(Audio::MixChannels);
    gameMusic = Mix_LoadMUS(resourcePath("samples/vorn.xm").c_str());
    menuMusic = Mix_LoadMUS(resourcePath("samples/vorn3.xm").c_str());
    creditsMusic = nullptr;
    if (menuMusic)
        Mix_PlayMusic(menuMusic, -1);
    applyVolumes();
    loadSamples();
    return true;
}

// Safe without a device too: the mixer keeps the level for music yet to come.
void Engine::applyVolumes() {
    Mix_VolumeMusic(muted ? 0 : musicVolume * MIX_MAX_VOLUME / 100);
}

int Engine::effectsLevel(int volume) const {
    return muted ? 0 : volume * effectsVolume / 100;
}

void Engine::loadSamples() {
    for (int id = 0; id < SampleCount; ++id) {
        const std::string name = std::string("samples/") + Audio::sampleFiles[id];
        SDL_RWops* file = SDL_RWFromFile(resourcePath(name.c_str()).c_str(), "rb");
        samples[id] = file ? Mix_LoadWAV_RW(file, 1) : nullptr;
        if (!samples[id])
            std::fprintf(stderr, "Could not load sound '%s' , reason: %s\n", Audio::sampleFiles[id],
                         SDL_GetError());
    }
}

void Engine::releaseMusic(Mix_Music*& slot) {
    if (!slot)
        return;
    Mix_PauseMusic();
    Mix_HaltMusic();
    Mix_FreeMusic(slot);
    slot = nullptr;
}

void Engine::startMusic(Mix_Music*& slot, const char* file) {
    releaseMusic(slot);
    if (!audioOpened)
        return;
    slot = Mix_LoadMUS(resourcePath(file).c_str());
    if (slot)
        Mix_PlayMusic(slot, -1);
    applyVolumes();
}
