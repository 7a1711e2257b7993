// The player's ship: controls, flight, damage, capsules and force feedback.
#include "GameFixture.h"

#include "platform/Gamepad.h"
#include "player/ForceFeedback.h"

namespace {

struct FakeStick {
    static inline int axes[2] = {}, buttons[2] = {}, buttonReads = 0;
    static bool present() { return true; }
    static void update() {}
    static int axis(int i) { return axes[i]; }
    static int button(int i) { return ++buttonReads, buttons[i]; }
};
const MyShip::JoystickApi fakeStick = {FakeStick::present, FakeStick::update, FakeStick::axis,
                                       FakeStick::button};

std::array<int, 6> controls() {
    MyShip::readControls();
    return {MyShip::up, MyShip::down, MyShip::left, MyShip::right, MyShip::fire, MyShip::bomb};
}

using Ship = GameTest;

// Arrows steer, W, Z, left Alt and left Ctrl fire, X and space bomb; the stick's axes count beyond
// ±16384, its buttons are read only when the key is not held.
TEST_F(Ship, ControlsComeFromKeysAndTheStick) {
    // clang-format off
    constexpr int keys[][7] = {{sdlq::KeyUp, 1, 0, 0, 0, 0, 0}, {sdlq::KeyDown, 0, 1, 0, 0, 0, 0},
        {sdlq::KeyLeft, 0, 0, 1, 0, 0, 0}, {sdlq::KeyRight, 0, 0, 0, 1, 0, 0}, {'w', 0, 0, 0, 0, 1, 0},
        {'z', 0, 0, 0, 0, 1, 0}, {sdlq::KeyLAlt, 0, 0, 0, 0, 1, 0}, {sdlq::KeyLCtrl, 0, 0, 0, 0, 1, 0},
        {'x', 0, 0, 0, 0, 0, 1}, {' ', 0, 0, 0, 0, 0, 1}, {'a', 0, 0, 0, 0, 0, 0}, {sdlq::KeyRAlt, 0, 0, 0, 0, 0, 0}};
    constexpr int axes[][6] = {{0, -16384, 0, 0, 0, 0}, {0, -16385, 0, 0, 1, 0}, {0, 16384, 0, 0, 0, 0},
        {0, 16385, 0, 0, 0, 1}, {1, -16384, 0, 0, 0, 0}, {1, -16385, 1, 0, 0, 0}, {1, 16384, 0, 0, 0, 0},
        {1, 32767, 0, 1, 0, 0}};
    // clang-format on
    for (const auto& k : keys) {
        hold(k[0]);
        EXPECT_EQ(controls(), (std::array{k[1], k[2], k[3], k[4], k[5], k[6]})) << k[0];
        hold(k[0], false);
    }
    MyShip::setJoystickApi(&fakeStick);
    for (const auto& a : axes) {
        FakeStick::axes[a[0]] = a[1];
        EXPECT_EQ(controls(), (std::array{a[2], a[3], a[4], a[5], 0, 0})) << a[0] << " " << a[1];
        FakeStick::axes[a[0]] = 0;
    }
    FakeStick::buttons[0] = FakeStick::buttons[1] = 1;
    FakeStick::buttonReads = 0;
    EXPECT_EQ(controls(), (std::array{0, 0, 0, 0, 1, 1}));
    hold('w');
    hold(' ');
    controls();
    EXPECT_EQ(FakeStick::buttonReads, 2);
    FakeStick::buttons[0] = FakeStick::buttons[1] = 0;
}

// The ship speeds up by 0.01 a tick to about 0.4 and glides to a stop at 0.02 a tick; a pair of opposite
// keys neither steers nor brakes; it arrives without steering or firing, and spins in place.
TEST_F(Ship, AcceleratesGlidesAndSpins) {
    MyShip* ship = flyingShip();
    hold(sdlq::KeyLeft);
    hold(sdlq::KeyUp);
    ship->move();
    EXPECT_TRUE(ship->vx == 0.01f && ship->vz == 0.01f);
    for (int i = 0; i < 100; ++i, ship->x = 0, ship->z = 10)
        ship->move();
    EXPECT_TRUE(ship->vx >= 0.4f && ship->vx < 0.41f) << ship->vx;
    sdlq::releaseAllKeys();
    hold(sdlq::KeyDown);
    const float vx = ship->vx;
    ship->move();
    EXPECT_NEAR(ship->vx, vx - 0.02f, 1e-6f);
    for (int i = 0; i < 30; ++i, ship->x = 0, ship->z = 10)
        ship->move();
    EXPECT_TRUE(ship->vx == 0 && ship->vz < 0);
    hold(sdlq::KeyLeft);
    hold(sdlq::KeyRight);
    ship->move(); // from rest: no speed across
    ship->vx = 0.3f;
    ship->move();
    EXPECT_TRUE(ship->vx == 0.3f && ship->accelX == 0);
    hold('w');
    MyShip* arriving = spawn<MyShip>(100);
    while (arriving->shipState == MyShip::Arriving)
        arriving->move();
    EXPECT_TRUE(arriving->x == 0 && arriving->shotCount == 0);
    std::tie(ship->shipState, ship->x, ship->z, ship->vx, ship->vz) =
        std::tuple{MyShip::Spinning, 0.0f, 10.0f, 0.2f, 0.2f};
    for (int i = 0; i < 24; ++i) {
        ship->move();
        ASSERT_TRUE(ship->shipState == MyShip::Spinning && ship->x == 0 && ship->z == 10);
    }
    EXPECT_NEAR(ship->vx, 0.2f / std::pow(1.1f, 24), 1e-5f);
    ship->move();
    EXPECT_TRUE(ship->shipState == MyShip::Flying && ship->vx == 0 && ship->vz == 0);
}

// Inside x = ±11.75 and 2.5 ≤ z ≤ 42 the ship is held, losing 0.02 of its push across and 0.05 in depth
// each update (on top of the glide).
TEST_F(Ship, StaysInsideTheField) {
    MyShip* ship = flyingShip();
    // clang-format off
    constexpr float rows[][8] = {{11.7f, 10, 0.3f, 0, 11.75f, 10, 0.26f, 0}, {-11.75f, 10, -0.3f, 0, -11.75f, 10, -0.26f, 0},
        {-11.9f, 10, 0.1f, 0, -11.75f, 10, 0, 0}, {0, 41.9f, 0, 0.3f, 0, 42, 0, 0.23f},
        {0, 2.6f, 0, -0.3f, 0, 2.5f, 0, -0.23f}, {0, 42.5f, 0, -0.1f, 0, 42, 0, 0}};
    // clang-format on
    for (const auto& r : rows) {
        std::tie(ship->x, ship->z, ship->vx, ship->vz) = std::tuple{r[0], r[1], r[2], r[3]};
        ship->move();
        EXPECT_TRUE(ship->x == r[4] && ship->z == r[5] && std::fabs(ship->vx - r[6]) < 1e-6f &&
                    std::fabs(ship->vz - r[7]) < 1e-6f)
            << r[0] << ", " << r[1];
    }
}

// Escape's −1 energy: the ship spins down for just over 100 ticks, then goes in a big explosion with its
// mark and a hundred pieces.
TEST_F(Ship, ALostShipGoesOutInABigExplosion) {
    MyShip* ship = flyingShip();
    ship->energy = -1;
    for (int i = 1; !ship->dead; ++i)
        if (ship->move(), !ship->dead) {
            ASSERT_TRUE(ship->shipState == MyShip::Dying && ship->spinAngle == 5.0f * i && ship->z == 10);
        }
    EXPECT_EQ(ship->energy, 0);
    sprites()->removeDead();
    EXPECT_TRUE(count<MyShip>() == 0 && count<ExplosionMark>() == 1);
    ASSERT_TRUE(count<Explosion>() == 1 && count<PieceOfShip>() == 1);
    EXPECT_TRUE(first<Explosion>()->size == 20 && first<Explosion>()->sourceKind == KindMyShip);
    EXPECT_EQ(first<PieceOfShip>()->count, 100);
}

// A new ship (even one made at tick 0) is invulnerable for 15 s; each invulnerability capsule adds 20 s
// from now or from the end of the time already given; meanwhile nothing harms it.
TEST_F(Ship, InvulnerabilityLastsItsTime) {
    now = 0;
    EXPECT_NE(spawn<MyShip>(100)->invulnerable, 0);
    now = 5000;
    MyShip* ship = spawn<MyShip>(100);
    ship->shipState = MyShip::Flying;
    for (Uint32 t : {20000u, 20001u}) {
        now = t;
        ship->move();
        EXPECT_EQ(ship->invulnerable != 0, t == 20000) << t;
    }
    Probe capsule(sprites(), KindDiamond);
    capsule.capsuleType = Diamond::Invulnerability;
    now = 30000;
    ship->collide(&capsule);
    EXPECT_TRUE(ship->invulnerable != 0 && ship->invulnerableUntil == 50000);
    ship->collide(&capsule);
    EXPECT_EQ(ship->invulnerableUntil, 70000u);
    for (int kind : {KindCube, KindFighter, KindFighterFire, KindTankFire, KindScratcher}) {
        Probe harm(sprites(), kind, 0, 0.5f, 10);
        ship->collide(&harm);
    }
    EXPECT_TRUE(ship->energy == 100 && ship->shipState == MyShip::Flying);
}

// What each kind does to a flying ship: energy, a spin, a small explosion, a bounce away from the other's
// centre ((1 / 1.35) / 5 across, (−0.5 / 0.75) / 5 in depth here).
TEST_F(Ship, CollisionReactionsByKind) {
    // clang-format off
    constexpr int rows[][5] = {{KindCube, 90, MyShip::Flying, 1, true}, {KindShip1, 90, MyShip::Flying, 1, true},
        {KindSpirale, 90, MyShip::Flying, 1, true}, {KindTank, 90, MyShip::Flying, 1, true},
        {KindFighter, 90, MyShip::Flying, 1, true}, {KindShip1Fire, 95, MyShip::Spinning, 1, false},
        {KindFighterFire, 95, MyShip::Spinning, 1, false}, {KindTankFire, 90, MyShip::Spinning, 1, false},
        {KindScratcher, 85, MyShip::Flying, 0, false}, {KindPoto, 100, MyShip::Flying, 0, true},
        {KindEffect, 100, MyShip::Flying, 0, false}, {KindMyFire1, 100, MyShip::Flying, 0, false},
        {KindMyFire2, 100, MyShip::Flying, 0, false}, {KindPiege, 100, MyShip::Flying, 0, false},
        {KindTache, 100, MyShip::Flying, 0, false}, {KindMyFire4Smoke, 100, MyShip::Flying, 0, false}};
    // clang-format on
    for (const auto& [kind, energy, state, explosions, bounces] : rows) {
        MyShip* ship = flyingShip(1, 10);
        Probe other(sprites(), kind, 0, 0.5f, 10.5f);
        ship->collide(&other);
        SCOPED_TRACE(kind);
        EXPECT_TRUE(ship->energy == energy && ship->shipState == state && count<Explosion>() == explosions);
        EXPECT_NEAR(ship->vx, bounces ? (1 / 1.35f) / 5 : 0, 1e-6f);
        EXPECT_NEAR(ship->vz, bounces ? (-0.5f / 0.75f) / 5 : 0, 1e-6f);
        sprites()->destroyAll();
    }
}

// No damage while spinning or dying; a ram that takes the last energy makes no small explosion (energy 0
// does not end the ship), a shot that does still does; the collision pass damages the ship once.
TEST_F(Ship, DamageFollowsTheShipsState) {
    MyShip* ship = flyingShip();
    Probe shot(sprites(), KindFighterFire, 0, 0.5f, 10), cube(sprites(), KindCube, 0, 0.5f, 10),
        raiderShot(sprites(), KindShip1Fire, 0, 0.5f, 10);
    ship->collide(&shot);
    ship->collide(&shot);
    ship->shipState = MyShip::Dying;
    ship->collide(&cube);
    EXPECT_EQ(ship->energy, 95);
    std::tie(ship->shipState, ship->energy) = std::tuple{MyShip::Flying, 10};
    const int explosions = count<Explosion>();
    ship->collide(&cube);
    EXPECT_TRUE(ship->energy == 0 && count<Explosion>() == explosions);
    ship->move();
    EXPECT_EQ(ship->shipState, MyShip::Flying);
    ship->energy = 5;
    ship->collide(&raiderShot);
    EXPECT_TRUE(ship->energy == 0 && count<Explosion>() == explosions + 1);
    std::tie(ship->shipState, ship->energy) = std::tuple{MyShip::Flying, 100};
    spawn<Probe>(KindFighter, 0.5f, 0.5f, 10.2f);
    sprites()->collideAll();
    EXPECT_EQ(ship->energy, 90);
}

// A shield capsule gives a sixth of the energy (up to the full), a bomb capsule a bomb, a power capsule a
// weapon level; each raises beams round the ship; the capsule's own reaction ends it. Points won by a
// projectile go to the Engine's current ship, if there is one.
TEST_F(Ship, CapsulesAndPoints) {
    // clang-format off
    constexpr int rows[][5] = {{Diamond::Shield, 100, 100, 5, 0}, {Diamond::Shield, 50, 66, 5, 0},
        {Diamond::Shield, 90, 100, 5, 0}, {Diamond::Bomb, 100, 100, 6, 0}, {Diamond::Power, 100, 100, 5, 1}};
    // clang-format on
    for (const auto& [type, energy, energyAfter, bombs, level] : rows) {
        MyShip* ship = flyingShip();
        ship->energy = energy;
        Probe* capsule = spawn<Probe>(KindDiamond);
        capsule->capsuleType = type;
        ship->collide(capsule);
        EXPECT_TRUE(ship->energy == energyAfter && ship->bombs == bombs && ship->weaponLevel == level)
            << type;
        ASSERT_EQ(count<SpecialEffect1>(), 1);
        EXPECT_TRUE(first<SpecialEffect1>()->capsuleType == type && first<SpecialEffect1>()->host == ship);
        EXPECT_EQ(capsule->dead, 0);
        sprites()->destroyAll();
    }
    MyShip* ship = flyingShip();
    MyFire1* bolt = add(new MyFire1(ship));
    bolt->addScore(100);
    engine->ship = nullptr;
    bolt->addScore(100);
    EXPECT_EQ(ship->score, 100);
}

// A haptic device that plays whatever it is asked to and records the runs.
struct FakeHaptic {
    static inline int status = 0;
    static inline std::vector<int> runs;
    static inline char device[1];

    static SDL_Haptic* open(SDL_Joystick*) { return reinterpret_cast<SDL_Haptic*>(device); }
    static unsigned int query(SDL_Haptic*) { return SDL_HAPTIC_SINE | SDL_HAPTIC_SAWTOOTHDOWN; }
    static int setAutocenter(SDL_Haptic*, int) { return 0; }
    static int newEffect(SDL_Haptic*, SDL_HapticEffect* effect) {
        return 11 + (effect->type != SDL_HAPTIC_SINE);
    }
    static int getStatus(SDL_Haptic*, int) { return status; }
    static int run(SDL_Haptic*, int effect, Uint32 times) {
        return runs.push_back(effect * 10 + int(times)), 0;
    }
    static void close(SDL_Haptic*) {}
};
const HapticApi fakeApi = {FakeHaptic::open,      FakeHaptic::query,     FakeHaptic::setAutocenter,
                           FakeHaptic::newEffect, FakeHaptic::getStatus, FakeHaptic::run,
                           FakeHaptic::close};

using Haptics = GameTest;

// The shot buzz and the hit jolt: an effect still playing (or of unknown state) is not started again. The
// ship buzzes once per salvo and jolts per hit (twice for a tank shell); bouncing off a pole is no hit.
TEST_F(Haptics, EffectsAndTheirPacing) {
    FakeHaptic::runs.clear();
    setHapticApi(&fakeApi);
    char stick[1];
    engine->joystick = reinterpret_cast<SDL_Joystick*>(stick);
    openForceFeedback();
    for (int status : {0, 1, -1}) {
        FakeHaptic::status = status;
        EXPECT_TRUE(playShotEffect() == 0 && playHitEffect() == 0);
    }
    EXPECT_EQ(FakeHaptic::runs, (std::vector<int>{111, 121}));
    FakeHaptic::runs.clear();
    FakeHaptic::status = 0;
    MyShip* ship = flyingShip();
    hold('w');
    ship->move();
    Probe shell(sprites(), KindTankFire, 0, 0.5f, 10), pole(sprites(), KindPoto, 0, 0.5f, 10);
    ship->collide(&shell);
    ship->collide(&pole);
    EXPECT_EQ(FakeHaptic::runs, (std::vector<int>{111, 121, 121}));
    EXPECT_TRUE(ship->energy == 90 && ship->shipState == MyShip::Spinning);
    closeForceFeedback();
    engine->joystick = nullptr; // never hand the fake stick to SDL
    setHapticApi(nullptr);
}

} // namespace
