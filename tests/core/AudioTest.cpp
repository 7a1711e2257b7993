#include "core/Audio.h"
#include "core/Engine.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

namespace {

TEST(AudioVolume, FallsWithDepth) {
    EXPECT_EQ(Audio::depthVolume(128, 0.0f), 126);
    EXPECT_EQ(Audio::depthVolume(128, 31.5f), 63);
    EXPECT_EQ(Audio::depthVolume(128, 62.9f), 0);
    EXPECT_EQ(Audio::depthVolume(128, -10.0f), 146); // behind the player: the mixer clamps it
}

// Plays through SDL's dummy driver: no sound card needed.
class AudioDevice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        Mix_AllocateChannels(Audio::MixChannels);
        Mix_Volume(-1, 128);
        pcm.assign(44100 * 4, 0x10);
        chunk = Mix_QuickLoad_RAW(pcm.data(), static_cast<Uint32>(pcm.size()));
        engine = Engine::createHeadless();
    }
    void TearDown() override {
        engine->samples[Audio::Tir] = nullptr;
        Engine::discard();
        Mix_HaltChannel(-1);
        Mix_FreeChunk(chunk);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    int playingCount() { return Mix_Playing(-1); }

    std::vector<Uint8> pcm;
    Mix_Chunk* chunk = nullptr;
    Engine* engine = nullptr;
};

TEST_F(AudioDevice, PositionalPlaySetsTheChannelVolumeByDepth) {
    engine->samples[Audio::Tir] = chunk;
    Audio::playSampleAt(Audio::Tir, 128, 0.0f);
    ASSERT_EQ(playingCount(), 1);
    EXPECT_EQ(Mix_Volume(0, -1), 126);

    Audio::playSampleAt(Audio::Tir, 128, 63.0f); // the far end of the field is silent
    EXPECT_EQ(playingCount(), 1);
    Audio::playSampleAt(Audio::Tir, 128, 31.5f);
    EXPECT_EQ(Mix_Volume(1, -1), 63);
}

TEST_F(AudioDevice, MissingSamplesAndFullChannelsChangeNothing) {
    Audio::playSample(Audio::Tir, 100); // not loaded
    EXPECT_EQ(playingCount(), 0);

    engine->samples[Audio::Tir] = chunk;
    for (int i = 0; i < Audio::MixChannels; ++i)
        Audio::playSample(Audio::Tir, 100);
    EXPECT_EQ(playingCount(), Audio::MixChannels);
    Audio::playSample(Audio::Tir, 5); // no free channel: not heard, and no channel's volume changes
    for (int c = 0; c < Audio::MixChannels; ++c)
        EXPECT_EQ(Mix_Volume(c, -1), 100) << c;
}

} // namespace
