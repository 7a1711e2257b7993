// The game on the desktop: it pauses itself in the background, and plays with a pad (virtual joysticks).
#include "QtHarness.h"

#include "core/Audio.h"
#include "core/Engine.h"
#include "core/Game.h"
#include "core/World.h"
#include "platform/Gamepad.h"
#include "player/ForceFeedback.h"
#include "player/MyShip.h"

#include <SDL_mixer.h>

namespace {

TEST(AutoPause, OnlyAGameInPlayPausesAndOnlyItsPauseSilencesSounds) {
    Engine* engine = Engine::createHeadless();
    Game game(World::instance());
    const int cases[][3] = {{Playing, 0, 1}, {Playing, 1, 0}, {Menu, 0, 0}, {Credits, 0, 0}, {Panel, 0, 0}};
    for (const auto& [state, gain, paused] : cases) {
        game.state = GameState(state);
        engine->paused = 0;
        game.activeChanged(gain);
        EXPECT_EQ(engine->paused, paused) << "state " << state << " gain " << gain;
    }
    // Through SDL's dummy audio driver: the screens behind a pause keep their sounds.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    std::vector<Uint8> pcm(44100 * 4, 0x10);
    engine->samples[Audio::Tir] = Mix_QuickLoad_RAW(pcm.data(), Uint32(pcm.size()));
    engine->paused = 1;
    for (GameState state : {Playing, Credits}) {
        game.state = state;
        Audio::playSample(Audio::Tir, 128);
        EXPECT_EQ(Mix_Playing(-1), state == Credits) << state;
    }
    Mix_CloseAudio();
}

Uint32 fakeNow = 1000;
std::vector<std::array<Uint32, 3>> rumbles; // heavy motor, light motor, ms

struct Pad : ::testing::Test {
    void SetUp() override {
        // Only the test's virtual devices, never a pad of the machine running it.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        setenv("SDL_JOYSTICK_HIDAPI", "0", 1);
        setenv("SDL_LINUX_JOYSTICK_CLASSIC", "0", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        sdlq::setTicksSource([] { return fakeNow; });
        // Every start of the motors the game asks for (SDL itself would fold a repeat into the running one).
        Gamepad::setRumbleCall([](SDL_Joystick*, Uint16 low, Uint16 high, Uint32 ms) {
            rumbles.push_back({low, high, ms});
            return 0;
        });
    }
    void TearDown() override {
        Gamepad::close();
        sdlq::setTicksSource(nullptr);
        SDL_Quit();
    }
    // A pad of the standard layout (six axes, the controller buttons), or a plain stick without a mapping.
    static int attach(bool pad, bool motors = false) {
        if (!pad)
            return SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, 0);
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        if (motors)
            desc.Rumble = [](void*, Uint16, Uint16) { return 0; };
        return SDL_JoystickAttachVirtualEx(&desc);
    }
    // Sets the stick and a button, and says what the game reads: axes and buttons, or the ship's controls.
    static QString read(int x, int y, int button = -1, bool ship = false) {
        SDL_JoystickSetVirtualAxis(Gamepad::joystick(), 0, Sint16(x));
        SDL_JoystickSetVirtualAxis(Gamepad::joystick(), 1, Sint16(y));
        for (int k = 0; k < 15; ++k)
            SDL_JoystickSetVirtualButton(Gamepad::joystick(), k, k == button);
        Gamepad::update();
        if (!ship)
            return QString::asprintf("%d %d %d%d", Gamepad::axis(0), Gamepad::axis(1), Gamepad::button(0),
                                     Gamepad::button(1));
        MyShip::readControls();
        return QString::asprintf("%d%d%d%d %d%d", MyShip::up, MyShip::down, MyShip::left, MyShip::right,
                                 MyShip::fire, MyShip::bomb);
    }
};

TEST_F(Pad, StickOrDpadSteerAFiresBDropsABombForTheShip) {
    ASSERT_GE(attach(true), 0) << SDL_GetError();
    Engine::createHeadless()->joystick = Gamepad::open();
    ASSERT_NE(Gamepad::controller(), nullptr) << "a standard pad is a game controller";
    // The d-pad (11 to 14) gives full deflection and wins over the stick; only A (0) and B (1) count.
    const std::tuple<int, int, int, const char*> cases[] = {{-30000, 20000, -1, "-30000 20000 00"},
                                                            {-30000, 20000, 14, "32767 20000 00"},
                                                            {0, 0, 13, "-32767 0 00"},
                                                            {0, 0, 11, "0 -32767 00"},
                                                            {0, 0, 12, "0 32767 00"},
                                                            {0, 0, 0, "0 0 10"},
                                                            {0, 0, 1, "0 0 01"},
                                                            {0, 0, 2, "0 0 00"}};
    for (const auto& [x, y, button, seen] : cases)
        EXPECT_EQ(read(x, y, button), seen) << button;
    MyShip::setJoystickApi(nullptr);
    sdlq::releaseAllKeys();
    EXPECT_EQ(read(-32768, 32767, -1, true), "0110 00");
    EXPECT_EQ(read(32767, -32768, SDL_CONTROLLER_BUTTON_A, true), "1001 10");
    EXPECT_EQ(read(0, 0, SDL_CONTROLLER_BUTTON_B, true), "0000 01");
}

TEST_F(Pad, APadIsPreferredAPlainStickKeepsItsLayoutAndOnlyTheOneInUseCounts) {
    EXPECT_TRUE(Gamepad::open() == nullptr && Gamepad::pumpEvents() == Gamepad::Change::None);
    ASSERT_GE(attach(false), 0);
    ASSERT_GE(attach(true), 0);
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::Opened);
    EXPECT_NE(Gamepad::controller(), nullptr);
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::None) << "the open pad is opened once";
    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::None) << "losing another device changes nothing";
    ASSERT_GE(attach(false), 0);
    EXPECT_TRUE(Gamepad::pumpEvents() == Gamepad::Change::None && Gamepad::controller()) << "nor a new one";
    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::Lost);
    EXPECT_TRUE(!Gamepad::present() && Gamepad::axis(0) == 0 && Gamepad::button(0) == 0);
    ASSERT_NE(Gamepad::open(), nullptr);
    EXPECT_EQ(Gamepad::controller(), nullptr);
    EXPECT_EQ(read(32767, -32768, 1), "32767 -32768 01");
}

TEST_F(Pad, RumbleIsPacedByTheRunningEffectAndFollowsTheOption) {
    ASSERT_GE(attach(true, true), 0);
    ASSERT_NE(Gamepad::open(), nullptr);
    // Rapid fire: one 100 ms buzz at a time.
    for (fakeNow = 5000; fakeNow < 6000; fakeNow += 12)
        EXPECT_EQ(Gamepad::playRumble(Gamepad::Rumble::Shot), 0);
    EXPECT_TRUE(rumbles.size() == 10 && rumbles[0][2] == 100) << rumbles.size();
    // A hit takes over from a buzz, stronger on the heavy motor; nothing restarts while its 500 ms jolt runs.
    rumbles.clear();
    for (auto [later, kind] : {std::pair{4000, 0}, {50, 1}, {100, 0}, {0, 1}, {399, 1}, {0, 0}, {1, 1}}) {
        fakeNow += later;
        Gamepad::playRumble(kind ? Gamepad::Rumble::Hit : Gamepad::Rumble::Shot);
    }
    ASSERT_EQ(rumbles.size(), 3u);
    EXPECT_TRUE(rumbles[1][2] == 500 && rumbles[2][2] == 500 && rumbles[1][0] > rumbles[0][0]);
    // The game's own effects fall back to the rumble of a pad without a haptic device, as the option allows.
    Gamepad::close();
    Engine* engine = Engine::createHeadless();
    for (int option : {0, 1}) {
        engine->forceFeedback = option;
        engine->joystick = Gamepad::open();
        openForceFeedback();
        rumbles.clear();
        EXPECT_EQ(hapticDevice(), nullptr);
        for (int played :
             {playShotEffect(), (fakeNow += 10, playHitEffect()), (fakeNow += 10, playHitEffect())})
            EXPECT_EQ(played, option - 1);
        EXPECT_EQ(rumbles.size(), option ? 2u : 0u) << "a buzz, then a jolt that is not restarted";
        closeForceFeedback();
        Gamepad::close();
        fakeNow += 1000;
    }
}

} // namespace
