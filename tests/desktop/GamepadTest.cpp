// The player's pad through SDL's virtual joysticks: layout seen by the ship, hot-plugging and the
// rumble that stands in for a haptic device.
#include "core/Engine.h"
#include "platform/Gamepad.h"
#include "platform/SdlCompat.h"
#include "player/ForceFeedback.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

Uint32 fakeNow = 1000;
Uint32 fakeTicks() {
    return fakeNow;
}

struct RumbleCall {
    Uint16 low;
    Uint16 high;
    Uint32 ms;
};
std::vector<RumbleCall> rumbles;
int deviceRumbles = 0;

int deviceRumble(void*, Uint16, Uint16) {
    ++deviceRumbles;
    return 0;
}

int recordRumble(SDL_Joystick* joystick, Uint16 low, Uint16 high, Uint32 ms) {
    rumbles.push_back({low, high, ms});
    return SDL_JoystickRumble(joystick, low, high, ms);
}

class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        // Only the virtual devices of the test: no real pads of the machine running it.
        setenv("SDL_JOYSTICK_HIDAPI", "0", 1);
        setenv("SDL_LINUX_JOYSTICK_CLASSIC", "0", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        sdlq::setTicksSource(fakeTicks);
        rumbles.clear();
        deviceRumbles = 0;
        Gamepad::setRumbleCall(recordRumble);
        Gamepad::close();
        Gamepad::pumpEvents();
    }
    void TearDown() override {
        Gamepad::close();
        Gamepad::setRumbleCall(nullptr);
        for (int index : attached)
            SDL_JoystickDetachVirtual(index);
        sdlq::setTicksSource(nullptr);
        SDL_Quit();
    }

    // A pad of the standard layout: 6 axes, 15 buttons in SDL's controller order (A, B, ... d-pad).
    int attachPad(bool rumble) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test Pad";
        if (rumble)
            desc.Rumble = deviceRumble;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        attached.push_back(index);
        return index;
    }
    // A plain stick SDL has no mapping for.
    int attachStick() {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, 0);
        attached.push_back(index);
        return index;
    }
    SDL_Joystick* device() { return Gamepad::joystick(); }
    void set(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(device(), button, down ? 1 : 0);
        Gamepad::update();
    }

    std::vector<int> attached;
};

TEST_F(GamepadTest, PadControlsMapToTheShipsStickLayout) {
    ASSERT_GE(attachPad(false), 0) << SDL_GetError();
    ASSERT_NE(Gamepad::open(), nullptr);
    ASSERT_NE(Gamepad::controller(), nullptr) << "a standard pad is a game controller";

    SDL_JoystickSetVirtualAxis(device(), SDL_CONTROLLER_AXIS_LEFTX, -30000);
    SDL_JoystickSetVirtualAxis(device(), SDL_CONTROLLER_AXIS_LEFTY, 20000);
    Gamepad::update();
    EXPECT_EQ(Gamepad::axis(0), -30000);
    EXPECT_EQ(Gamepad::axis(1), 20000);

    // The d-pad gives full deflection and wins over the stick.
    struct Case {
        SDL_GameControllerButton button;
        int axis;
        int value;
    };
    const Case dpad[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, -Gamepad::DpadAxis},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, Gamepad::DpadAxis},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 1, -Gamepad::DpadAxis},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1, Gamepad::DpadAxis},
    };
    for (const Case& c : dpad) {
        set(c.button, true);
        EXPECT_EQ(Gamepad::axis(c.axis), c.value) << "d-pad button " << c.button;
        set(c.button, false);
    }
    EXPECT_EQ(Gamepad::axis(0), -30000) << "the stick again once the d-pad is let go";

    EXPECT_EQ(Gamepad::button(0), 0);
    set(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Gamepad::button(0), 1) << "A fires";
    EXPECT_EQ(Gamepad::button(1), 0);
    set(SDL_CONTROLLER_BUTTON_A, false);
    set(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(Gamepad::button(1), 1) << "B drops a bomb";
    EXPECT_EQ(Gamepad::button(0), 0);
    set(SDL_CONTROLLER_BUTTON_B, false);
    set(SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(Gamepad::button(0) + Gamepad::button(1), 0) << "other buttons do nothing";
    EXPECT_EQ(Gamepad::axis(5), 0);
}

TEST_F(GamepadTest, PlainJoystickKeepsItsOwnAxesAndButtons) {
    ASSERT_GE(attachStick(), 0) << SDL_GetError();
    ASSERT_NE(Gamepad::open(), nullptr);
    EXPECT_EQ(Gamepad::controller(), nullptr);
    SDL_JoystickSetVirtualAxis(device(), 0, 32767);
    SDL_JoystickSetVirtualAxis(device(), 1, -32768);
    SDL_JoystickSetVirtualButton(device(), 1, 1);
    Gamepad::update();
    EXPECT_EQ(Gamepad::axis(0), 32767);
    EXPECT_EQ(Gamepad::axis(1), -32768);
    EXPECT_EQ(Gamepad::button(0), 0);
    EXPECT_EQ(Gamepad::button(1), 1);
}

TEST_F(GamepadTest, PreferredDeviceIsThePadOverAPlainStick) {
    ASSERT_GE(attachStick(), 0);
    ASSERT_GE(attachPad(false), 0);
    ASSERT_NE(Gamepad::open(), nullptr);
    EXPECT_NE(Gamepad::controller(), nullptr);
}

TEST_F(GamepadTest, PadPluggedInLaterIsPickedUpAndItsLossReported) {
    EXPECT_EQ(Gamepad::open(), nullptr);
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::None);
    const int index = attachPad(false);
    ASSERT_GE(index, 0);
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::Opened);
    ASSERT_TRUE(Gamepad::present());
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::None) << "the open pad is opened once";

    // A second pad does not take over from the one in use; losing it changes nothing.
    const int second = attachStick();
    ASSERT_GE(second, 0);
    SDL_Joystick* inUse = Gamepad::joystick();
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::None);
    EXPECT_EQ(Gamepad::joystick(), inUse);
    ASSERT_EQ(SDL_JoystickDetachVirtual(second), 0);
    attached.pop_back();
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::None);
    EXPECT_EQ(Gamepad::joystick(), inUse);

    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    attached.clear();
    EXPECT_EQ(Gamepad::pumpEvents(), Gamepad::Change::Lost);
    EXPECT_FALSE(Gamepad::present());
    EXPECT_EQ(Gamepad::axis(0), 0);
    EXPECT_EQ(Gamepad::button(0), 0);
}

TEST_F(GamepadTest, RumbleIsPacedByTheRunningEffect) {
    ASSERT_GE(attachPad(true), 0);
    ASSERT_NE(Gamepad::open(), nullptr);
    ASSERT_TRUE(Gamepad::hasRumble());

    // Rapid fire: one buzz per 100 ms.
    int started = 0;
    for (int ms = 0; ms < 1000; ms += 12) {
        fakeNow = 5000 + ms;
        const size_t before = rumbles.size();
        EXPECT_EQ(Gamepad::playRumble(Gamepad::Rumble::Shot), 0);
        started += rumbles.size() > before ? 1 : 0;
    }
    EXPECT_GE(started, 9);
    EXPECT_LE(started, 10);
    EXPECT_EQ(rumbles.front().ms, Gamepad::ShotRumbleMs);
    EXPECT_GE(deviceRumbles, 1) << "the motors of the pad itself run";

    // A hit takes over from a buzz; neither restarts it while its 500 ms run.
    fakeNow = 10000;
    rumbles.clear();
    Gamepad::playRumble(Gamepad::Rumble::Shot);
    fakeNow += 50;
    Gamepad::playRumble(Gamepad::Rumble::Hit);
    EXPECT_EQ(rumbles.size(), 2u) << "the jolt starts during a buzz";
    const RumbleCall jolt = rumbles.back();
    EXPECT_EQ(jolt.ms, Gamepad::HitRumbleMs);
    fakeNow += 100;
    Gamepad::playRumble(Gamepad::Rumble::Shot);
    Gamepad::playRumble(Gamepad::Rumble::Hit);
    fakeNow += 399;
    Gamepad::playRumble(Gamepad::Rumble::Hit);
    Gamepad::playRumble(Gamepad::Rumble::Shot);
    EXPECT_EQ(rumbles.size(), 2u) << "nothing restarts during the 500 ms jolt";
    fakeNow += 1;
    Gamepad::playRumble(Gamepad::Rumble::Hit);
    EXPECT_EQ(rumbles.size(), 3u) << "a new jolt once the last one ended";
    EXPECT_GT(jolt.low, rumbles[0].low) << "a jolt is stronger on the heavy motor than a buzz";
}

// The ship's own control reading sees the pad as its stick.
TEST_F(GamepadTest, ShipSteersFiresAndBombsWithThePad) {
    ASSERT_GE(attachPad(false), 0);
    Engine* engine = Engine::createHeadless();
    engine->joystick = Gamepad::open();
    ASSERT_NE(engine->joystick, nullptr);
    MyShip::setJoystickApi(nullptr);
    sdlq::releaseAllKeys();

    struct Case {
        int leftX, leftY;
        SDL_GameControllerButton pressed;
        int up, down, left, right, fire, bomb;
    };
    const SDL_GameControllerButton none = SDL_CONTROLLER_BUTTON_INVALID;
    const Case cases[] = {
        {0, 0, none, 0, 0, 0, 0, 0, 0},
        {-16384, 16384, none, 0, 0, 0, 0, 0, 0}, // the edge of the dead zone counts as centred
        {-16385, 16385, none, 0, 1, 1, 0, 0, 0},
        {32767, -32768, none, 1, 0, 0, 1, 0, 0},
        {0, 0, SDL_CONTROLLER_BUTTON_DPAD_UP, 1, 0, 0, 0, 0, 0},
        {0, 0, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, 0, 1, 0, 0, 0},
        {0, 0, SDL_CONTROLLER_BUTTON_A, 0, 0, 0, 0, 1, 0},
        {0, 0, SDL_CONTROLLER_BUTTON_B, 0, 0, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SDL_JoystickSetVirtualAxis(device(), SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(c.leftX));
        SDL_JoystickSetVirtualAxis(device(), SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(c.leftY));
        if (c.pressed != none)
            SDL_JoystickSetVirtualButton(device(), c.pressed, 1);
        MyShip::readControls();
        EXPECT_EQ(MyShip::up, c.up) << c.leftX << "," << c.leftY << " button " << c.pressed;
        EXPECT_EQ(MyShip::down, c.down) << c.leftX << "," << c.leftY << " button " << c.pressed;
        EXPECT_EQ(MyShip::left, c.left) << c.leftX << "," << c.leftY << " button " << c.pressed;
        EXPECT_EQ(MyShip::right, c.right) << c.leftX << "," << c.leftY << " button " << c.pressed;
        EXPECT_EQ(MyShip::fire, c.fire) << "button " << c.pressed;
        EXPECT_EQ(MyShip::bomb, c.bomb) << "button " << c.pressed;
        if (c.pressed != none)
            SDL_JoystickSetVirtualButton(device(), c.pressed, 0);
    }
    Gamepad::close();
    engine->joystick = nullptr;
    Engine::discard();
}

// The game's two effects on a pad with motors and no haptic device, as the option allows.
TEST_F(GamepadTest, ForceFeedbackFallsBackToRumbleWhenTheOptionIsOn) {
    ASSERT_GE(attachPad(true), 0);
    Engine* engine = Engine::createHeadless();
    for (int option : {0, 1}) {
        engine->forceFeedback = option;
        engine->joystick = Gamepad::open();
        ASSERT_NE(engine->joystick, nullptr);
        openForceFeedback();
        EXPECT_EQ(hapticDevice(), nullptr) << "a virtual pad has no haptic device";
        rumbles.clear();
        fakeNow += 1000;
        const int shot = playShotEffect();
        fakeNow += 10;
        const int hit = playHitEffect();
        fakeNow += 10;
        const int again = playHitEffect();
        if (option) {
            EXPECT_EQ(shot, 0);
            EXPECT_EQ(hit, 0);
            EXPECT_EQ(again, 0);
            ASSERT_EQ(rumbles.size(), 2u) << "a buzz, then a jolt that is not restarted";
            EXPECT_EQ(rumbles[0].ms, Gamepad::ShotRumbleMs);
            EXPECT_EQ(rumbles[1].ms, Gamepad::HitRumbleMs);
        } else {
            EXPECT_EQ(shot, -1);
            EXPECT_EQ(hit, -1);
            EXPECT_TRUE(rumbles.empty()) << "force feedback off: no rumble";
        }
        closeForceFeedback();
        Gamepad::close();
        engine->joystick = nullptr;
    }
    Engine::discard();
}

TEST_F(GamepadTest, NoRumbleWithoutMotorsOrDevice) {
    EXPECT_EQ(Gamepad::playRumble(Gamepad::Rumble::Hit), -1);
    ASSERT_GE(attachPad(false), 0);
    ASSERT_NE(Gamepad::open(), nullptr);
    EXPECT_FALSE(Gamepad::hasRumble());
    EXPECT_EQ(Gamepad::playRumble(Gamepad::Rumble::Shot), -1);
}

TEST(GamepadMappings, UserFileFollowsXdgConfigHomeAndIsRead) {
    const std::filesystem::path home = std::filesystem::path(std::getenv("HOME")) / "pad-test";
    std::filesystem::create_directories(home / "cfg" / "Torvik");
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Gamepad::mappingFile(), (home / ".config/Torvik/gamecontrollerdb.txt").string());
    setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
    const std::string file = Gamepad::mappingFile();
    EXPECT_EQ(file, (home / "cfg/Torvik/gamecontrollerdb.txt").string());

    // A mapping for a made-up stick: its buttons 3 and 2 become A and B.
    const char* guid = "03000000aaaa0000bbbb000000000000";
    {
        std::ofstream out(file);
        out << "# made up\n" << guid << ",Orbitrax Test Stick,a:b3,b:b2,leftx:a0,lefty:a1,platform:Linux,\n";
    }
    ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0);
    Gamepad::close();
    Gamepad::forgetMappings();
    EXPECT_EQ(Gamepad::open(), nullptr);
    EXPECT_EQ(Gamepad::loadedMappings(), 1);
    char* mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(guid));
    ASSERT_NE(mapping, nullptr);
    EXPECT_NE(std::string(mapping).find("Orbitrax Test Stick"), std::string::npos);
    SDL_free(mapping);

    // A damaged file is reported and changes nothing.
    {
        std::ofstream out(file);
        out << "this is not a mapping\n";
    }
    Gamepad::forgetMappings();
    EXPECT_EQ(Gamepad::open(), nullptr);
    EXPECT_LE(Gamepad::loadedMappings(), 0);
    Gamepad::forgetMappings();
    SDL_Quit();
    std::filesystem::remove_all(home);
}

} // namespace
