#include "core/Engine.h"
#include "core/Game.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

Uint32 fakeNow = 0;
Uint32 fakeTicks() {
    return fakeNow;
}

class GameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 1000;
        sdlq::setTicksSource(fakeTicks);
        sdlq::releaseAllKeys();
        engine = Engine::createHeadless();
        world = World::instance();
        game = new Game(world);
    }
    void TearDown() override {
        delete game;
        World::discard();
        Engine::discard();
        sdlq::releaseAllKeys();
        sdlq::setTicksSource(nullptr);
    }

    // A key pressed this frame: the event and the held key, as the frame loop sees them.
    bool press(int key) {
        Uint8* keys = sdlq::getKeyState();
        keys[key] = 1;
        game->keyDown(key);
        const bool quit = game->handleHeldKeys(true);
        keys[key] = 0;
        return quit;
    }

    Engine* engine = nullptr;
    World* world = nullptr;
    Game* game = nullptr;
};

TEST_F(GameLoop, ChanceFollowsTheMeanTicks) {
    engine->frameStep = 1;
    EXPECT_FALSE(engine->chance(0));
    // With a frame step of 1, chance(300) holds for r < 106.67: 107 of the 32768 values.
    std::srand(7);
    int hits = 0;
    const int draws = 200000;
    for (int i = 0; i < draws; ++i)
        hits += engine->chance(300);
    EXPECT_NEAR(static_cast<double>(hits) / draws, 107.0 / 32768.0, 0.001);

    engine->frameStep = 0;
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(engine->chance(1));
    engine->frameStep = 10;
    std::srand(7);
    hits = 0;
    for (int i = 0; i < draws; ++i)
        hits += engine->chance(300);
    EXPECT_NEAR(static_cast<double>(hits) / draws, 1067.0 / 32768.0, 0.003);
}

TEST_F(GameLoop, FrameStepIsElapsedTicksCappedAtTenAndZeroWhilePaused) {
    world->updatePlay(); // the first call only starts the clock
    EXPECT_FLOAT_EQ(engine->frameStep, 0);
    fakeNow += 30;
    world->updatePlay();
    EXPECT_FLOAT_EQ(engine->frameStep, 2); // 15 ms per tick while playing
    fakeNow += 300;
    world->updatePlay();
    EXPECT_FLOAT_EQ(engine->frameStep, 10); // a stall moves things by ten ticks at most
    engine->paused = 1;
    fakeNow += 45;
    world->updatePlay();
    EXPECT_FLOAT_EQ(engine->frameStep, 0);

    world->updateMenu();
    fakeNow += 40;
    world->updateMenu();
    EXPECT_FLOAT_EQ(engine->frameStep, 2); // 20 ms per tick elsewhere, pause ignored
}

TEST_F(GameLoop, MenuAngleTurnsAndWraps) {
    world->updateMenu();
    engine->menuAngle = 359.9f;
    fakeNow += 200; // ten ticks
    world->updateMenu();
    EXPECT_NEAR(engine->menuAngle, 2.9f, 1e-3);
}

TEST_F(GameLoop, KeyInTheMenuStartsAGameOrTheScenesWithF4F5) {
    press('x');
    EXPECT_EQ(game->state, Playing);
    ASSERT_NE(engine->ship, nullptr);
    EXPECT_EQ(world->sprites->count, 1);

    game->state = Menu;
    sdlq::getKeyState()[sdlq::KeyF4] = 1;
    press('a');
    EXPECT_EQ(game->state, Panel);
    EXPECT_EQ(engine->ship, nullptr); // the old scene and its ship are gone
    EXPECT_EQ(world->sprites->count, 0);
    sdlq::getKeyState()[sdlq::KeyF4] = 0;

    game->state = Menu;
    sdlq::getKeyState()[sdlq::KeyF5] = 1;
    press('a');
    EXPECT_EQ(game->state, Credits);
    sdlq::getKeyState()[sdlq::KeyF5] = 0;
}

TEST_F(GameLoop, EscapeQuitsFromTheMenuKillsTheShipAndLeavesScenes) {
    EXPECT_TRUE(game->handleHeldKeys(false) == false);
    game->newGame();
    EXPECT_FALSE(press(sdlq::KeyEscape));
    EXPECT_EQ(engine->ship->energy, -1);

    game->state = Panel;
    EXPECT_FALSE(press(sdlq::KeyEscape));
    EXPECT_EQ(game->state, Menu);
    EXPECT_TRUE(game->handleHeldKeys(false) == false); // held without an event does nothing
    sdlq::getKeyState()[sdlq::KeyEscape] = 1;
    EXPECT_TRUE(game->handleHeldKeys(true));
}

TEST_F(GameLoop, EscapeInTheMenuQuitsWithoutStartingAGame) {
    EXPECT_TRUE(press(sdlq::KeyEscape));
    EXPECT_EQ(game->state, Menu);
    EXPECT_EQ(engine->ship, nullptr);
}

TEST_F(GameLoop, AKeyLongAfterTheShipDiedReturnsToTheMenuAndEscapeThenQuits) {
    game->newGame();
    engine->ship = nullptr;
    engine->shipDeadTime = 101;
    EXPECT_TRUE(press(sdlq::KeyEscape)); // back to the menu, and the Escape test sees the menu
    EXPECT_EQ(game->state, Menu);
}

TEST_F(GameLoop, TogglesAndCamerasFollowTheirKeys) {
    EXPECT_EQ(engine->cameraMode, 1);
    sdlq::getKeyState()[sdlq::KeyF2] = 1;
    game->handleHeldKeys(false); // cameras only need the key held
    EXPECT_EQ(engine->cameraMode, 2);
    sdlq::getKeyState()[sdlq::KeyF2] = 0;
    game->state = Playing;
    press('p');
    EXPECT_EQ(engine->paused, 1);
    press('c');
    EXPECT_EQ(engine->paused, 0);
    const bool shadows = engine->shadows;
    press('s');
    EXPECT_EQ(engine->shadows, !shadows);
    press('d');
    EXPECT_EQ(world->showFps, 1);
}

TEST_F(GameLoop, CheatFiresOnlyOnTheF6ThatMakes213) {
    game->newGame();
    press(sdlq::KeyF5);
    press(sdlq::KeyF5);
    press(sdlq::KeyF7);
    press(sdlq::KeyF7);
    press(sdlq::KeyF7);
    EXPECT_EQ(game->cheatCounter, 203);
    EXPECT_EQ(engine->ship->weaponLevel, 0);
    press(sdlq::KeyF6);
    EXPECT_EQ(game->cheatCounter, 213);
    EXPECT_EQ(engine->ship->weaponLevel, 7);

    engine->ship->weaponLevel = 0;
    press(sdlq::KeyF6);
    press(sdlq::KeyF6);
    EXPECT_EQ(engine->ship->weaponLevel, 0); // past 213 it never fires again
}

TEST_F(GameLoop, ReplacingTheSceneDestroysTheOldSpritesAndForgetsTheShip) {
    game->newGame();
    world->sprites->add(new MyShip(world->sprites, 100));
    game->openOptions();
    EXPECT_EQ(world->sprites->count, 0);
    EXPECT_EQ(engine->ship, nullptr);
    EXPECT_EQ(game->state, Panel);
    EXPECT_EQ(world->sceneStep, 0);
}

TEST_F(GameLoop, FrameRateTextEveryThirtyFrames) {
    for (int i = 0; i < 29; ++i) {
        fakeNow += 16;
        world->showFrameRate();
    }
    fakeNow += 16;
    world->measureFrameTime();
    EXPECT_EQ(world->frameMs, 16 * 30);
    world->measureFrameTime(); // no time passed: never a division by zero
    EXPECT_EQ(world->frameMs, 1);
}

TEST_F(GameLoop, PanelSceneRepeatsItsFlyBy) {
    game->openOptions();
    world->updatePanelScene();
    EXPECT_EQ(world->sceneStep, 1);
    EXPECT_EQ(world->sprites->count, 5);
    world->sprites->destroyAll();
    world->updatePanelScene();
    EXPECT_EQ(world->sceneStep, 0);

    game->openCredits();
    world->updateCreditsScene();
    EXPECT_EQ(world->sprites->count, 9);
    world->sprites->destroyAll();
    world->updateCreditsScene();
    EXPECT_EQ(world->sceneStep, 4);
}

} // namespace
