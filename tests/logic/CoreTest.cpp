// The object model (list, passes, watchers), the frame clock, the keys of the frame loop, the settings
// store and the sound calls.
#include "GameFixture.h"

#include "core/Audio.h"
#include "core/Game.h"
#include "platform/QtSingleApplication.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <SDL_mixer.h>

#include <limits>
#include <string>

namespace {

using Core = GameTest;
using Contacts = std::vector<std::pair<Sprite*, Sprite*>>;

// Boxes meet only when they overlap strictly on every axis; NaN never meets.
TEST_F(Core, BoxesMeetOnlyWhenTheyOverlap) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // clang-format off
    const float cases[][6] = {{1, 0, 0, 1, 1, false}, {0, 1, 0, 1, 1, false}, {0, 0, 1, 1, 1, false},
        {0.99f, 0.99f, 0.99f, 1, 1, true}, {0, 0, 0, 0, 0, false}, {1.4f, 0, 0, 1, 2, true},
        {nan, 0, 0, 1, 1, false}, {-0.5f, -0.5f, -0.5f, 1, 1, true}};
    // clang-format on
    for (const auto& [x, y, z, sizeA, sizeB, meet] : cases) {
        Probe* a = spawn<Probe>(19, 0.0f, 0.0f, 0.0f, sizeA);
        Probe* b = spawn<Probe>(19, x, y, z, sizeB);
        sprites()->collideAll();
        EXPECT_EQ(Probe::contacts, meet ? Contacts({{a, b}, {b, a}}) : Contacts()) << x << " " << y;
        sprites()->destroyAll();
        Probe::contacts.clear();
    }
}

// Each pair meets once, both sides, nearer the head first; a sprite that died in the pass still meets the
// rest and only the removal pass deletes it (moving the cursor off it, counting targets down). Only the
// list's own add counts targets; sprites made during the move pass move in it, by frameStep ticks.
TEST_F(Core, ListPasses) {
    Probe* a = spawn<Probe>(19, 0.0f, 0.0f, 0.0f);
    Probe* b = spawn<Probe>(19, 0.1f, 0.0f, 0.0f);
    Probe* c = spawn<Probe>(19, 0.2f, 0.0f, 0.0f);
    a->dieOnContact = true;
    sprites()->collideAll();
    EXPECT_EQ(Probe::contacts, (Contacts{{a, b}, {b, a}, {a, c}, {c, a}, {b, c}, {c, b}}));
    sprites()->removeDead();
    EXPECT_TRUE(Probe::destroyed == 1 && sprites()->head == b && sprites()->cursor == b);
    b->isTarget = c->isTarget = true;
    b->dead = c->dead = 1;
    sprites()->targetCount = 2;
    sprites()->removeDead();
    EXPECT_TRUE(!sprites()->head && !sprites()->tail && sprites()->count == 0 && sprites()->targetCount == 0);
    auto* counted = new Probe(sprites(), 19);
    auto* uncounted = new Probe(sprites(), 19);
    counted->isTarget = uncounted->isTarget = counted->spawnOnMove = true;
    sprites()->add(counted);
    static_cast<List*>(sprites())->add(uncounted);
    EXPECT_EQ(sprites()->targetCount, 1);
    std::tie(counted->vx, counted->vy, counted->vz, engine->frameStep) = std::tuple{0.5f, -1.0f, 2.0f, 4.0f};
    sprites()->moveAll();
    EXPECT_EQ(static_cast<Probe*>(sprites()->tail)->moves, 1);
    EXPECT_TRUE(counted->x == 2 && counted->y == -3.5f && counted->z == 28);
}

// Five watcher slots, a freed one taken again; the watchers hear of the removal before the delete.
TEST_F(Core, WatchersHaveFiveSlotsAndHearOfTheRemoval) {
    Probe* host = spawn<Probe>(1);
    Probe* followers[6];
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(host->addWatcher(followers[i] = spawn<Probe>(8)), i < 5);
    host->removeWatcher(followers[2]);
    host->removeWatcher(followers[5]); // not a watcher: nothing happens
    host->removeWatcher(nullptr);
    EXPECT_TRUE(host->watcherCount == 4 && host->addWatcher(followers[5]) &&
                host->watchers[2] == followers[5]);
    host->dead = 1;
    sprites()->removeDead();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(followers[i]->removedNotices, std::vector<Sprite*>(i == 2 ? 0 : 1, host)) << i;
}

// A lone target takes no draw (the game's random sequence is untouched); a dead one is never picked.
TEST_F(Core, RandomTargetIsALiveTarget) {
    EXPECT_EQ(sprites()->pickRandomTarget(), nullptr);
    spawn<Probe>(8);
    Probe* target = spawn<Probe>(19);
    target->isTarget = true;
    sprites()->targetCount = 1;
    std::srand(42);
    const int next = std::rand();
    std::srand(42);
    EXPECT_TRUE(sprites()->pickRandomTarget() == target && std::rand() == next);
    target->dead = 1;
    EXPECT_EQ(sprites()->pickRandomTarget(), nullptr);
}

// chance(mean) holds with the odds frameStep / mean: r < frameStep × 32000 / mean of 32768.
TEST_F(Core, ChanceFollowsTheMeanTicks) {
    EXPECT_FALSE(engine->chance(0));
    for (const auto& [step, in32768, tolerance] :
         {std::tuple{1.0f, 107.0, 0.001}, {10.0f, 1067.0, 0.003}, {0.0f, 0.0, 0.0}}) {
        engine->frameStep = step;
        std::srand(7);
        int hits = 0;
        for (int i = 0; i < 200000; ++i)
            hits += engine->chance(300);
        EXPECT_NEAR(hits / 200000.0, in32768 / 32768.0, tolerance) << step;
    }
}

// 15 ms a tick in play, 20 ms elsewhere, ten ticks at most; a paused game stands still (the menu does not
// pause); the menu's ship turns 0.3° a tick and wraps at 360°; the frame rate is measured every thirty
// frames, and never divides by zero.
TEST_F(Core, FrameStepFollowsTheClock) {
    // clang-format off
    constexpr int steps[][4] = {{0, false, false, 0}, {30, false, false, 2}, {150, false, false, 10},
        {151, false, false, 10}, {45, false, true, 0}, {0, true, false, 0}, {40, true, true, 2},
        {200, true, false, 10}, {300, true, false, 10}}; // ms, in the menu, paused, ticks
    // clang-format on
    engine->menuAngle = 359.9f;
    for (const auto& [ms, menu, paused, step] : steps) {
        engine->paused = paused;
        now += ms;
        menu ? world->updateMenu() : world->updatePlay();
        EXPECT_FLOAT_EQ(engine->frameStep, step) << ms << " ms";
    }
    EXPECT_NEAR(engine->menuAngle, 359.9f + 0.3f * 22 - 360, 1e-3f);
    for (int i = 0; i < 60; ++i, world->showFrameRate())
        now += 16;
    EXPECT_EQ(world->frameMs, 16 * 30);
    world->measureFrameTime();
    EXPECT_EQ(world->frameMs, 1);
}

class GameKeys : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        game = std::make_unique<Game>(world);
    }
    void TearDown() override {
        game.reset();
        GameTest::TearDown();
    }
    // A key pressed this frame: the event, then the held keys as the frame loop reads them.
    bool press(int key) {
        hold(key);
        game->keyDown(key);
        const bool quit = game->handleHeldKeys(true);
        hold(key, false);
        return quit;
    }
    std::unique_ptr<Game> game;
};

// A key in the menu starts a game, or the options with F4 held, or the credits with F5; Escape quits from
// the menu, ends the ship in play and leaves the other scenes; a key more than 100 ticks after the ship
// died returns to the menu. A held Escape without its event does nothing.
TEST_F(GameKeys, KeysMoveBetweenTheScenes) {
    struct Row {
        GameState from;
        float shipDeadTime;
        int held, key;
        GameState to;
        bool quit, newScene;
    };
    // clang-format off
    constexpr Row rows[] = {{Menu, 0, 0, 'x', Playing, false, true}, {Menu, 0, sdlq::KeyF4, 'a', Panel, false, true},
        {Menu, 0, sdlq::KeyF5, 'a', Credits, false, true}, {Menu, 0, 0, sdlq::KeyEscape, Menu, true, false},
        {Playing, 0, 0, sdlq::KeyEscape, Playing, false, false}, {Panel, 0, 0, sdlq::KeyEscape, Menu, false, false},
        {Playing, 100, 0, 'x', Playing, false, false}, {Playing, 101, 0, sdlq::KeyEscape, Menu, true, false}};
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "state " << r.from << " key " << r.key);
        game->newGame();
        std::tie(game->state, engine->shipDeadTime) = std::tuple{r.from, r.shipDeadTime};
        MyShip* ship = engine->ship;
        ship->score = 77; // marks the old scene's ship
        hold(r.held);
        EXPECT_EQ(press(r.key), r.quit);
        hold(r.held, false);
        EXPECT_EQ(game->state, r.to);
        EXPECT_EQ(r.newScene, !engine->ship || engine->ship->score != 77);
        EXPECT_EQ(sprites()->count, r.to == Playing || !r.newScene);
        if (!r.newScene) {
            EXPECT_EQ(ship->energy, r.key == sdlq::KeyEscape && r.to == Playing ? -1 : 100);
        }
    }
    hold(sdlq::KeyEscape);
    EXPECT_FALSE(game->handleHeldKeys(false));
}

// In play C pauses and resumes; D, F, G and M switch the frame rate, fog, specular highlights and sound
// (M only in play: the M that starts a game from the menu does not mute it); F1 and F2 held pick the camera;
// F5 counts 100, F6 10 and F7 1, and the F6 that makes 213 gives weapon level 7, once.
TEST_F(GameKeys, TogglesAndTheCheat) {
    press('m');
    ASSERT_TRUE(game->state == Playing && !engine->muted);
    for (const auto& [key, read] :
         {std::pair<int, std::function<int()>>{'c', [this] { return engine->paused; }},
          {'d', [this] { return world->showFps; }},
          {'f', [this] { return world->fogOn; }},
          {'g', [this] { return world->specularOn; }},
          {'m', [this] { return engine->muted; }}}) {
        const int before = read();
        press(key);
        EXPECT_EQ(read(), !before) << char(key);
        press(key);
        EXPECT_EQ(read(), before) << char(key);
    }
    game->state = Credits;
    press('m');
    EXPECT_FALSE(engine->muted) << "m mutes only in play";
    game->state = Playing;
    for (int camera : {2, 1}) {
        hold(camera == 2 ? sdlq::KeyF2 : sdlq::KeyF1);
        game->handleHeldKeys(false);
        EXPECT_EQ(engine->cameraMode, camera);
        sdlq::releaseAllKeys();
    }
    for (int key :
         {sdlq::KeyF5, sdlq::KeyF5, sdlq::KeyF7, sdlq::KeyF7, sdlq::KeyF7, sdlq::KeyF6, sdlq::KeyF6}) {
        press(key);
        EXPECT_EQ(engine->ship->weaponLevel, game->cheatCounter >= 213 ? 7 : 0) << key;
    }
    engine->ship->weaponLevel = 0;
    press(sdlq::KeyF6);
    EXPECT_EQ(engine->ship->weaponLevel, 0);
}

class OptionsStore : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        store = tvt::QtSingleApplication::appSettings();
        store->clear();
        store->setValue("general/Running", 0);
        engine->maxAnisotropy = 4;
    }
    void TearDown() override {
        store->clear();
        GameTest::TearDown();
    }
    // The option as loaded; the screen's own size stands for the sides when they were not taken (-1).
    static int loaded(const std::string& key) {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const Engine* e = Engine::instance();
        // clang-format off
        const std::pair<std::string, int> options[] = {{"Width", e->screenWidth == screen.width() ? -1 : e->screenWidth},
            {"Height", e->screenHeight == screen.height() ? -1 : e->screenHeight}, {"Details", e->details},
            {"Shadows", e->shadows}, {"FullScreen", e->fullScreen}, {"Filter", e->textureFilter},
            {"Anisotropic", e->anisotropic}, {"ForceFeedback", e->forceFeedback},
            {"Audio/MusicVolume", e->musicVolume}, {"Audio/EffectsVolume", e->effectsVolume},
            {"RenderScale", e->renderScale.mode() == RenderScale::Mode::Auto}};
        // clang-format on
        return std::find_if(std::begin(options), std::end(options), [&](auto& o) { return o.first == key; })
            ->second;
    }
    QSettings* store = nullptr;
};

// Sides that cannot be a window (≤ 0, above 16384, text) count as absent, as does text anywhere; details
// outside low to high fall back to high; only exactly 1 turns a switch on; anisotropy settles within the
// panel's levels; a volume outside 0–100 is full.
TEST_F(OptionsStore, StoredValuesAreReadWithinTheirLimits) {
    // clang-format off
    const std::tuple<const char*, QVariant, int> rows[] = {{"Width", 16384, 16384}, {"Width", 16385, -1},
        {"Width", 1, 1}, {"Width", 0, -1}, {"Width", -5, -1}, {"Width", "wide", -1}, {"Height", 16384, 16384},
        {"Height", 16385, -1}, {"Height", "1e9", -1}, {"Height", -1, -1}, {"Height", 601, 601}, {"Details", 2, 2},
        {"Details", 3, 2}, {"Details", 0, 0}, {"Details", -1, 2}, {"Shadows", 2, 0}, {"Shadows", 1, 1},
        {"FullScreen", "yes", 1}, {"FullScreen", 0, 0}, {"Filter", 7, 7}, {"Anisotropic", "lots", 4},
        {"Anisotropic", 2, 2}, {"Anisotropic", -1, 0}, {"Anisotropic", 8, 8}, {"Anisotropic", 9, 8},
        {"Audio/MusicVolume", 100, 100}, {"Audio/MusicVolume", 101, 100}, {"Audio/MusicVolume", "loud", 100},
        {"Audio/EffectsVolume", 0, 0}, {"Audio/EffectsVolume", -1, 100}, {"RenderScale", " auto ", 1},
        {"RenderScale", "100", 0}, {"RenderScale", "Autopilot", 0}};
    // clang-format on
    for (const auto& [key, value, expected] : rows) {
        const QString name = QString(key).contains('/') ? key : QString("Graphic/") + key;
        store->setValue(name, value);
        engine->loadSettings(0);
        EXPECT_EQ(loaded(key), expected) << key << " = " << value.toString().toStdString();
        store->remove(name);
        store->setValue("general/Running", 0);
    }
}

// The options scene saves a settled anisotropy once; its next pass finds nothing changed and writes nothing.
TEST_F(OptionsStore, ThePanelSavesASettledAnisotropyOnce) {
    store->setValue("Graphic/Anisotropic", 9);
    engine->loadSettings(0);
    World::discard();
    world = World::instance();
    world->updatePanelScene();
    store->remove("Graphic/Anisotropic");
    world->updatePanelScene();
    EXPECT_FALSE(store->contains("Graphic/Anisotropic"));
}

// What is saved comes back after a clean exit and during a run (the flag expected is 1 then); after an
// unclean exit (the flag still set) the defaults are used and the stored values kept, but for the volumes
// (full when absent).
TEST_F(OptionsStore, SavedOptionsComeBackOnlyAfterACleanExit) {
    engine->musicVolume = engine->effectsVolume = 7;
    engine->loadSettings(0);
    EXPECT_TRUE(store->value("general/Running").toInt() == 1 && engine->musicVolume == 100 &&
                engine->effectsVolume == 100);
    std::tie(engine->musicVolume, engine->effectsVolume) = std::pair{40, 0};
    engine->textureFilter = engine->anisotropic = 1;
    engine->details = engine->forceFeedback = 0;
    engine->shadows = engine->fullScreen = false;
    engine->renderScale.setMode(RenderScale::Mode::Auto);
    std::tie(engine->screenWidth, engine->screenHeight) = std::pair{801, 601};
    engine->saveSettings();
    for (int flag : {1, 0}) {
        Engine::createHeadless()->maxAnisotropy = 4;
        Engine::instance()->loadSettings(flag);
        SCOPED_TRACE(flag);
        // clang-format off
        for (const auto& [key, saved, fallback] : {std::tuple{"Filter", 1, 2}, {"Anisotropic", 1, 4}, {"Details", 0, 2},
                 {"Shadows", 0, 1}, {"Width", 801, -1}, {"Height", 601, -1}, {"FullScreen", 0, 1}, {"ForceFeedback", 0, 1},
                 {"Audio/MusicVolume", 40, 40}, {"Audio/EffectsVolume", 0, 0}, {"RenderScale", 1, 0}})
            EXPECT_EQ(loaded(key), flag ? saved : fallback) << key;
        // clang-format on
    }
    EXPECT_EQ(store->value("Graphic/Width").toInt(), 801);
    EXPECT_NE(Engine::resourcePath("samples/vorn.xm").find("/Resources/samples/vorn.xm"), std::string::npos);
}

// Through SDL's dummy driver: a sound fades with depth ((63 − z) × 2 of 128, silent from z = 63, clamped by
// the mixer behind the player); with every channel busy a sound is not heard and changes no volume; a
// paused game and a missing sample are silent. The effects volume scales each channel (here 50 %); the
// music level follows its volume; muting silences both.
TEST_F(Core, SoundsPlayOnFreeChannelsAtTheirVolume) {
    for (const auto& [z, volume] : {std::pair{0.0f, 126}, {31.5f, 63}, {62.9f, 0}, {-10.0f, 146}})
        EXPECT_EQ(Audio::depthVolume(128, z), volume) << z;
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    Mix_AllocateChannels(Audio::MixChannels);
    std::vector<Uint8> pcm(44100 * 4, 0x10);
    engine->samples[Audio::Tir] = Mix_QuickLoad_RAW(pcm.data(), static_cast<Uint32>(pcm.size()));
    engine->effectsVolume = 50;
    for (float z : {0.0f, 63.0f, 31.5f})
        Audio::playSampleAt(Audio::Tir, 128, z);
    EXPECT_TRUE(Mix_Playing(-1) == 2 && Mix_Volume(0, -1) == 63 && Mix_Volume(1, -1) == 31);
    Audio::playSample(Audio::Welcome, 100);
    engine->paused = 1;
    Audio::playSample(Audio::Tir, 100);
    EXPECT_EQ(Mix_Playing(-1), 2);
    engine->paused = 0;
    for (int i = 2; i <= Audio::MixChannels; ++i)
        Audio::playSample(Audio::Tir, i < Audio::MixChannels ? 100 : 5);
    EXPECT_EQ(Mix_Playing(-1), Audio::MixChannels);
    for (int c = 2; c < Audio::MixChannels; ++c)
        EXPECT_EQ(Mix_Volume(c, -1), 50) << c;
    for (const auto& [volume, muted, level] :
         {std::tuple{100, false, 128}, {50, false, 64}, {100, true, 0}}) {
        std::tie(engine->musicVolume, engine->effectsVolume, engine->muted) =
            std::tuple{volume, volume, muted};
        engine->applyVolumes();
        EXPECT_TRUE(Mix_VolumeMusic(-1) == level && engine->effectsLevel(128) == level) << volume << muted;
    }
    Mix_HaltChannel(-1);
    Engine::discard(); // frees the sample
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace
