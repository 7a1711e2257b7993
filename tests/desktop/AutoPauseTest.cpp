// The game pauses itself when the window goes to the background: the events that report it, the
// game's reaction in each state, and the silence of a paused game.
#include "core/Audio.h"
#include "core/Engine.h"
#include "core/Game.h"
#include "core/World.h"
#include "platform/SdlCompat.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

namespace {

class AutoPause : public ::testing::Test {
protected:
    void SetUp() override {
        sdlq::clearEvents();
        sdlq::releaseAllKeys();
        engine = Engine::createHeadless();
        world = World::instance();
        game = new Game(world);
    }
    void TearDown() override {
        delete game;
        World::discard();
        Engine::discard();
        sdlq::clearEvents();
        sdlq::releaseAllKeys();
    }

    // The part of the frame loop that reads the queue, as runFrame does.
    void pollAll() {
        sdlq::Event event;
        bool keyEvent = false;
        while (sdlq::pollEvent(&event)) {
            if (event.type == sdlq::ActiveEvent)
                game->activeChanged(event.gain);
            if (event.type == sdlq::KeyDownEvent) {
                keyEvent = true;
                game->keyDown(event.key);
            }
        }
        game->handleHeldKeys(keyEvent);
    }
    void pressKey(int key) {
        sdlq::pressKey(key);
        sdlq::Event down;
        down.type = sdlq::KeyDownEvent;
        down.key = key;
        sdlq::pushEvent(down);
        pollAll();
        sdlq::releaseKey(key);
        pollAll();
    }

    Engine* engine = nullptr;
    World* world = nullptr;
    Game* game = nullptr;
};

TEST_F(AutoPause, ActiveEventsQueueInOrderWithTheirGain) {
    sdlq::pushActive(0);
    sdlq::pushActive(7);
    sdlq::Event event;
    ASSERT_TRUE(sdlq::pollEvent(&event));
    EXPECT_EQ(event.type, sdlq::ActiveEvent);
    EXPECT_EQ(event.type, 1) << "SDL 1.2's number for the event";
    EXPECT_EQ(event.gain, 0);
    ASSERT_TRUE(sdlq::pollEvent(&event));
    EXPECT_EQ(event.gain, 1);
    EXPECT_FALSE(sdlq::pollEvent(&event));
}

TEST_F(AutoPause, OnlyAGameInPlayPausesAndPOrCResumes) {
    struct Case {
        GameState state;
        int gain;
        int pausedBefore;
        int pausedAfter;
    };
    const Case cases[] = {
        {Playing, 0, 0, 1}, {Playing, 0, 1, 1}, // already paused: stays paused, no toggle
        {Playing, 1, 0, 0}, {Playing, 1, 1, 1}, // coming back never resumes by itself
        {Menu, 0, 0, 0},    {Credits, 0, 0, 0}, {Panel, 0, 0, 0},
    };
    for (const Case& c : cases) {
        game->state = c.state;
        engine->paused = c.pausedBefore;
        sdlq::pushActive(c.gain);
        pollAll();
        EXPECT_EQ(engine->paused, c.pausedAfter) << "state " << c.state << " gain " << c.gain;
    }

    game->state = Playing;
    engine->paused = 0;
    sdlq::pushActive(0);
    pollAll();
    ASSERT_EQ(engine->paused, 1);
    pressKey('p');
    EXPECT_EQ(engine->paused, 0) << "P resumes";
    sdlq::pushActive(0);
    pollAll();
    pressKey('c');
    EXPECT_EQ(engine->paused, 0) << "C resumes";
}

TEST_F(AutoPause, PausedPlayFreezesTheTimeStep) {
    game->state = Playing;
    sdlq::pushActive(0);
    pollAll();
    world->updatePlay();
    EXPECT_EQ(engine->frameStep, 0.0f);
}

// Through SDL's dummy audio driver: samples while paused in play are not started.
TEST_F(AutoPause, PausedGameStartsNoSounds) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    Mix_AllocateChannels(Audio::MixChannels);
    std::vector<Uint8> pcm(44100 * 4, 0x10);
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(pcm.data(), static_cast<Uint32>(pcm.size()));
    engine->samples[Audio::Tir] = chunk;

    game->state = Playing;
    engine->paused = 1;
    Audio::playSample(Audio::Tir, 128);
    Audio::playSampleAt(Audio::Tir, 128, 10.0f);
    EXPECT_EQ(Mix_Playing(-1), 0);

    engine->paused = 0;
    Audio::playSample(Audio::Tir, 128);
    EXPECT_EQ(Mix_Playing(-1), 1);

    // The pause flag only silences play: the background scenes behind the screens keep their sounds.
    game->state = Credits;
    engine->paused = 1;
    Audio::playSampleAt(Audio::Tir, 128, 10.0f);
    EXPECT_EQ(Mix_Playing(-1), 2);

    engine->samples[Audio::Tir] = nullptr;
    Mix_HaltChannel(-1);
    Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace
