// Each sprite drawn by the real play frame with the game's own pictures and models: the frame with it
// differs from the frame without it where it stands, in its own colour.
#include "GameScene.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/Explosion.h"
#include "enemies/Fighter2.h"
#include "enemies/Piege.h"
#include "enemies/Scratcher.h"
#include "enemies/Ship1.h"
#include "enemies/SpecialEffect1.h"
#include "enemies/Spirale.h"
#include "enemies/Tache.h"
#include "enemies/Tank.h"
#include "player/MyFire1.h"
#include "player/MyFire2.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

namespace {

using Px = const unsigned char*;

// How a pixel changed from the frame without the sprite (b) to the frame with it (a).
using Change = bool (*)(Px b, Px a);
constexpr Change darker = [](Px b, Px a) { return a[0] + a[1] + a[2] + 60 < b[0] + b[1] + b[2]; };
constexpr Change brighter = [](Px b, Px a) { return a[0] + a[1] + a[2] > b[0] + b[1] + b[2] + 60; };
constexpr Change yellower = [](Px b, Px a) {
    return a[0] > b[0] + 25 && a[1] > b[1] + 20 && a[2] < b[2] + 15;
};
constexpr Change redder = [](Px b, Px a) { return a[0] > b[0] + 30 && a[1] < b[1] + 10 && a[2] < b[2] + 15; };
constexpr Change yellow = [](Px, Px a) { return a[0] > 150 && a[1] > 130 && a[2] + 60 < a[1]; };
constexpr Change warm = [](Px, Px a) { return a[0] > 150 && a[0] > a[2] + 80; };
constexpr Change white = [](Px, Px a) { return a[0] > 150 && a[1] > 150 && a[2] > 150; };
constexpr Change blue = [](Px, Px a) { return a[2] > 150 && a[2] > a[0] + 80 && a[2] > a[1] + 40; };
constexpr Change green = [](Px, Px a) { return a[1] > 120 && a[1] > a[0] + 40 && a[1] > a[2] + 20; };
constexpr Change magenta = [](Px, Px a) { return a[0] > a[1] + 40 && a[2] > a[1] + 40; };
constexpr Change brown = [](Px, Px a) {
    return a[0] > a[1] + 15 && a[1] > a[2] + 10 && a[0] > 60 && a[0] < 230;
};

ListSprite* in(GameScene& s) {
    return s.world->sprites;
}

template <class S, auto... args> Sprite* make(GameScene& s) {
    return new S(in(s), args...);
}
template <class S, auto... args> Sprite* fromShip(GameScene& s) {
    return new S(s.engine->ship, args...);
}
template <class S> Sprite* aimed(GameScene& s) {
    return new S(in(s), s.engine->ship);
}
template <int type> Sprite* capsule(GameScene& s) {
    Cube source(in(s), 2, 0);
    auto* capsule = new Diamond(&source);
    capsule->capsuleType = type;
    return capsule;
}
// A trap; its pole, made with it, stands just before it in the list.
template <bool alarm> Sprite* trap(GameScene& s) {
    auto* trap = new Piege(in(s));
    trap->alarmTimer = alarm ? 1 : 0;
    trap->pulse = 16; // the alarm's beam at its reddest
    return trap;
}

struct Row {
    const char* name;
    Sprite* (*make)(GameScene&);
    float x, y, z; // where it is put (the camera follows a ship at x 0, z 3; +x is on the left)
    int ticks;     // it moves on alone before the frame
    Change colour;
    double least; // share of the 100 x 100 pixels around it that change so
};

const Row rows[] = {
    {"Fighter2", make<Fighter2, 0.0f, 0.0f, 1.0f, 3>, -2, 0.7f, 12, 0, darker, 0.05},
    {"Bandit2", make<Bandit2, 0.0f, 0.0f, 1.0f, 3>, 2, 0.5f, 12, 0, darker, 0.03},
    {"FighterShot", make<Bandit2Fire, 0.0f, 0.0f, 0.0f>, -1, 0.7f, 9, 0, brighter, 0.003},
    {"Raider", make<Ship1, 0.0f, 0.0f, 1.0f, 3>, 2, 2, 13, 0, darker, 0.015},
    {"RaiderShot", make<Ship1Fire, 0.0f, 0.0f, 0.0f>, 1, 0.5f, 8, 0, brighter, 0.0015},
    {"Tank", make<Tank, 0, 3>, -3, 0.5f, 11, 0, darker, 0.1},
    {"TankShot", make<TankFire, nullptr, 0.0f, 0.0f, 0.0f, 0.0f, -0.2f, -90.0f>, 3, 0.7f, 8, 0, yellower,
     0.0025},
    {"ShipFlames", make<MyShip, 100>, 2.5f, 0.5f, 6, 0, warm, 0.0025},
    {"ShipCountdown", make<MyShip, 100>, 2.5f, 0.5f, 6, 0, white, 0.007},
    {"Bolt", fromShip<MyFire1, 0.0f, 1.2f>, -1, 0.5f, 8, 0, yellow, 0.004},
    {"Bomb", fromShip<MyFire2>, 0, 0.5f, 12, 20, yellow, 0.015},
    {"Explosion", fromShip<Explosion, 8, false, true>, -2, 1, 12, 10, warm, 0.3},
    {"PickUpBeams", fromShip<SpecialEffect1, 3>, 0, 0.5f, 3, 20, green, 0.02},
    {"Cube", make<Cube, 2, 0>, -3, 0.5f, 12, 0, brown, 0.02},
    {"ShieldCapsule", capsule<Diamond::Shield>, 3, 0.1f, 10, 0, blue, 0.02},
    {"BombCapsule", capsule<Diamond::Bomb>, 1, 0.1f, 10, 0, yellow, 0.015},
    {"PowerCapsule", capsule<Diamond::Power>, -1, 0.1f, 10, 0, magenta, 0.05},
    {"InvulnerabilityCapsule", capsule<Diamond::Invulnerability>, -3, 0.1f, 10, 0, green, 0.03},
    {"Trap", trap<false>, 3, 1.5f, 14, 0, yellower, 0.006},
    {"TrapAlarm", trap<true>, -3, 1.5f, 14, 0, redder, 0.045},
    {"Star", aimed<Spirale>, 2, 4, 16, 0, blue, 0.01},
    {"Nest", make<Tache, 0.0f, 9>, -3, 0, 14, 0, yellower, 0.03},
    {"Scratcher", make<Scratcher, 0.0f, 0.0f, true>, 1, 1, 10, 0, brighter, 0.02},
};

class SceneTest : public ::testing::TestWithParam<Row> {};

TEST_P(SceneTest, ShowsWhereItIsInItsColour) {
    const Row& row = GetParam();
    GameScene s;
    if (!s.open())
        GTEST_SKIP() << "needs an X display";
    auto* ship = new MyShip(in(s), 100);
    std::tie(ship->x, ship->z, ship->shipState, ship->invulnerable) = std::tuple(0, 3, MyShip::Flying, 0);
    in(s)->add(s.engine->ship = ship);
    std::srand(5);
    s.draw(&World::renderPlay);
    const std::vector<unsigned char> before = s.frame;
    Elem* last = in(s)->tail;
    Sprite* sprite = row.make(s);
    // What it made along with it (a trap's pole) stands with it.
    for (Elem* e = last->next; e; e = e->next)
        static_cast<Sprite*>(e)->x = row.x, static_cast<Sprite*>(e)->z = row.z;
    std::tie(sprite->x, sprite->y, sprite->z) = std::tuple(row.x, row.y, row.z);
    in(s)->add(sprite);
    s.engine->frameStep = 1;
    for (int i = 0; i < row.ticks; ++i, GameScene::now += 15)
        sprite->move();
    s.engine->frameStep = 0;
    std::srand(5);
    s.draw(&World::renderPlay);
    double x = 0, y = 0;
    s.project(sprite->x, sprite->y, sprite->z, &x, &y);
    // Of the 100 x 100 pixels around it, those that changed by more than 40 in all, in its colour.
    const double changed =
        s.share((x - 50) / s.width, (y - 50) / s.height, (x + 50) / s.width, (y + 50) / s.height, [&](Px a) {
            const Px b = &before[a - s.frame.data()];
            return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 40 &&
                   row.colour(b, a);
        });
    EXPECT_GT(changed, row.least) << "at " << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Sprites, SceneTest, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
