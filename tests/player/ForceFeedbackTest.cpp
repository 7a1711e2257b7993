#include "PlayerTestSupport.h"

#include "core/SpriteKind.h"
#include "player/ForceFeedback.h"

#include <vector>

namespace {

// A scripted haptic device that records what the force feedback asks of it.
struct FakeHaptic {
    static inline bool deviceAvailable = true;
    static inline unsigned int supported = SDL_HAPTIC_SINE | SDL_HAPTIC_SAWTOOTHDOWN;
    static inline int failEffect = -1; // index of the NewEffect call that fails
    static inline int status = 0;
    static inline int opens = 0, closes = 0, newEffects = 0, autocenter = -1;
    static inline std::vector<SDL_HapticEffect> effects;
    static inline std::vector<std::pair<int, Uint32>> runs;
    static inline char device[1];

    static SDL_Haptic* open(SDL_Joystick*) {
        opens++;
        return deviceAvailable ? reinterpret_cast<SDL_Haptic*>(device) : nullptr;
    }
    static unsigned int query(SDL_Haptic*) { return supported; }
    static int setAutocenter(SDL_Haptic*, int value) {
        autocenter = value;
        return 0;
    }
    static int newEffect(SDL_Haptic*, SDL_HapticEffect* effect) {
        effects.push_back(*effect);
        return newEffects++ == failEffect ? -1 : 10 + newEffects;
    }
    static int getStatus(SDL_Haptic*, int) { return status; }
    static int run(SDL_Haptic*, int effect, Uint32 iterations) {
        runs.push_back({effect, iterations});
        return 0;
    }
    static void close(SDL_Haptic*) { closes++; }
    static void reset() {
        deviceAvailable = true;
        supported = SDL_HAPTIC_SINE | SDL_HAPTIC_SAWTOOTHDOWN;
        failEffect = -1;
        status = 0;
        opens = closes = newEffects = 0;
        autocenter = -1;
        effects.clear();
        runs.clear();
    }
};

const HapticApi fakeApi = {FakeHaptic::open,      FakeHaptic::query,     FakeHaptic::setAutocenter,
                           FakeHaptic::newEffect, FakeHaptic::getStatus, FakeHaptic::run,
                           FakeHaptic::close};

class ForceFeedbackTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        FakeHaptic::reset();
        setHapticApi(&fakeApi);
    }
    void TearDown() override {
        closeForceFeedback();
        engine->joystick = nullptr; // never hand the fake stick to SDL
        setHapticApi(nullptr);
        PlayerTest::TearDown();
    }
    void plugStick() { engine->joystick = reinterpret_cast<SDL_Joystick*>(stick); }

    char stick[1] = {};
};

TEST_F(ForceFeedbackTest, WithoutAStickOrWithTheOptionOffNothingOpens) {
    openForceFeedback();
    EXPECT_EQ(FakeHaptic::opens, 0);
    EXPECT_EQ(playShotEffect(), -1);
    EXPECT_EQ(playHitEffect(), -1);

    plugStick();
    engine->forceFeedback = 0;
    openForceFeedback();
    EXPECT_EQ(FakeHaptic::opens, 0);
    EXPECT_EQ(hapticDevice(), nullptr);
}

TEST_F(ForceFeedbackTest, WithoutAHapticDeviceEverythingIsSilent) {
    plugStick();
    FakeHaptic::deviceAvailable = false;
    openForceFeedback();
    EXPECT_EQ(FakeHaptic::opens, 1);
    EXPECT_EQ(hapticDevice(), nullptr);
    EXPECT_EQ(playHitEffect(), -1);
    EXPECT_TRUE(FakeHaptic::runs.empty());
}

TEST_F(ForceFeedbackTest, ADeviceWithoutSineIsClosedAgain) {
    plugStick();
    FakeHaptic::supported = SDL_HAPTIC_SAWTOOTHDOWN;
    openForceFeedback();
    EXPECT_EQ(FakeHaptic::closes, 1);
    EXPECT_EQ(hapticDevice(), nullptr);
    EXPECT_EQ(FakeHaptic::newEffects, 0);
    EXPECT_EQ(playShotEffect(), -1);
}

TEST_F(ForceFeedbackTest, OpensTheDeviceWithAutocenterAndBothEffects) {
    plugStick();
    openForceFeedback();
    ASSERT_NE(hapticDevice(), nullptr);
    EXPECT_EQ(FakeHaptic::autocenter, 1);
    ASSERT_EQ(FakeHaptic::effects.size(), 2u);
    const SDL_HapticPeriodic& shot = FakeHaptic::effects[0].periodic;
    EXPECT_EQ(FakeHaptic::effects[0].type, SDL_HAPTIC_SINE);
    EXPECT_EQ(shot.direction.type, SDL_HAPTIC_POLAR);
    EXPECT_EQ(shot.direction.dir[0], 0);
    EXPECT_EQ(shot.length, 100u);
    EXPECT_EQ(shot.button, 0);
    EXPECT_EQ(shot.interval, 0);
    EXPECT_EQ(shot.period, 300);
    EXPECT_EQ(shot.magnitude, 30000);
    EXPECT_EQ(shot.attack_length, 100);
    EXPECT_EQ(shot.fade_length, 100);
    EXPECT_EQ(shot.offset, 0);
    EXPECT_EQ(shot.phase, 0);
    const SDL_HapticPeriodic& hit = FakeHaptic::effects[1].periodic;
    EXPECT_EQ(FakeHaptic::effects[1].type, SDL_HAPTIC_SAWTOOTHDOWN);
    EXPECT_EQ(hit.direction.type, SDL_HAPTIC_CARTESIAN);
    EXPECT_EQ(hit.direction.dir[0], 0);
    EXPECT_EQ(hit.direction.dir[1], 1);
    EXPECT_EQ(hit.direction.dir[2], 0);
    EXPECT_EQ(hit.length, 500u);
    EXPECT_EQ(hit.button, 1);
    EXPECT_EQ(hit.interval, 300);
    EXPECT_EQ(hit.period, 300);
    EXPECT_EQ(hit.magnitude, 30000);
    EXPECT_EQ(hit.attack_length, 100);
    EXPECT_EQ(hit.fade_length, 100);
    EXPECT_EQ(shotEffectId(), 11);
    EXPECT_EQ(hitEffectId(), 12);
}

TEST_F(ForceFeedbackTest, AnEffectStillPlayingIsNotRestarted) {
    plugStick();
    openForceFeedback();
    EXPECT_EQ(playShotEffect(), 0);
    ASSERT_EQ(FakeHaptic::runs.size(), 1u);
    EXPECT_EQ(FakeHaptic::runs[0], std::make_pair(11, 1u));
    FakeHaptic::status = 1;
    EXPECT_EQ(playShotEffect(), 0);
    EXPECT_EQ(playHitEffect(), 0);
    EXPECT_EQ(FakeHaptic::runs.size(), 1u);
    FakeHaptic::status = -1; // a failing status query never runs the effect
    EXPECT_EQ(playHitEffect(), 0);
    EXPECT_EQ(FakeHaptic::runs.size(), 1u);
    FakeHaptic::status = 0;
    EXPECT_EQ(playHitEffect(), 0);
    EXPECT_EQ(FakeHaptic::runs.back(), std::make_pair(12, 1u));
}

TEST_F(ForceFeedbackTest, AFailedEffectDisablesOnlyThatEffect) {
    plugStick();
    FakeHaptic::failEffect = 0;
    openForceFeedback();
    EXPECT_EQ(shotEffectId(), -1);
    EXPECT_EQ(playShotEffect(), -1);
    EXPECT_EQ(playHitEffect(), 0);
}

TEST_F(ForceFeedbackTest, OpeningAgainClosesThePreviousDevice) {
    plugStick();
    openForceFeedback();
    openForceFeedback();
    EXPECT_EQ(FakeHaptic::opens, 2);
    EXPECT_EQ(FakeHaptic::closes, 1);
    closeForceFeedback();
    EXPECT_EQ(FakeHaptic::closes, 2);
    closeForceFeedback();
    EXPECT_EQ(FakeHaptic::closes, 2);
    EXPECT_EQ(playShotEffect(), -1);
}

TEST_F(ForceFeedbackTest, TheShipBuzzesPerSalvoAndJoltsPerHit) {
    plugStick();
    openForceFeedback();
    MyShip* ship = flyingShip();
    hold('w');
    fakeTicks = 1000;
    ship->move();
    ASSERT_EQ(FakeHaptic::runs.size(), 1u);
    EXPECT_EQ(FakeHaptic::runs[0].first, shotEffectId());

    // A tank shell: two jolts asked for (the fake device is never busy) and 10 energy in two steps.
    FakeHaptic::runs.clear();
    auto* shell = new Probe(&list, KindTankFire, 0, 0.5f, 10);
    list.add(shell);
    ship->collide(shell);
    EXPECT_EQ(FakeHaptic::runs.size(), 2u);
    EXPECT_EQ(ship->energy, 90);
    EXPECT_EQ(ship->shipState, MyShip::Spinning);

    // Bouncing off a pole gives no jolt.
    FakeHaptic::runs.clear();
    auto* pole = new Probe(&list, KindPoto, 0, 0.5f, 10);
    list.add(pole);
    ship->collide(pole);
    EXPECT_TRUE(FakeHaptic::runs.empty());
}

} // namespace
