// Each sprite drawn by the real play frame with the game's own pictures and models: the frame with it
// differs from the frame without it where it stands, in its own colour. ORBITRAX_SHOT_DIR=folder keeps
// every frame as a PNG to look at.
#include "GameScene.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/SpriteKind.h"
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
#include "enemies/TacheBench.h"
#include "enemies/Tank.h"
#include "player/MyFire1.h"
#include "player/MyFire2.h"
#include "player/MyFire3.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using Pixel = const unsigned char*;

// How a pixel changed from the frame without the sprite (b) to the frame with it (a).
using Change = bool (*)(Pixel b, Pixel a);
constexpr Change changed = [](Pixel b, Pixel a) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 40;
};
constexpr Change darker = [](Pixel b, Pixel a) { return a[0] + a[1] + a[2] + 60 < b[0] + b[1] + b[2]; };
constexpr Change brighter = [](Pixel b, Pixel a) { return a[0] + a[1] + a[2] > b[0] + b[1] + b[2] + 60; };
constexpr Change yellower = [](Pixel b, Pixel a) {
    return a[0] > b[0] + 25 && a[1] > b[1] + 20 && a[2] < b[2] + 15;
};
constexpr Change redder = [](Pixel b, Pixel a) {
    return a[0] > b[0] + 30 && a[1] < b[1] + 10 && a[2] < b[2] + 15;
};
constexpr Change yellow = [](Pixel, Pixel a) { return a[0] > 150 && a[1] > 130 && a[2] + 60 < a[1]; };
constexpr Change warm = [](Pixel, Pixel a) { return a[0] > 150 && a[0] > a[2] + 80; };
constexpr Change white = [](Pixel, Pixel a) { return a[0] > 150 && a[1] > 150 && a[2] > 150; };
constexpr Change blue = [](Pixel, Pixel a) { return a[2] > 150 && a[2] > a[0] + 80 && a[2] > a[1] + 40; };
constexpr Change green = [](Pixel, Pixel a) { return a[1] > 120 && a[1] > a[0] + 40 && a[1] > a[2] + 20; };
constexpr Change magenta = [](Pixel, Pixel a) { return a[0] > a[1] + 40 && a[2] > a[1] + 40; };
constexpr Change brown = [](Pixel, Pixel a) {
    return a[0] > a[1] + 15 && a[1] > a[2] + 10 && a[0] > 60 && a[0] < 230;
};

ListSprite* in(GameScene& s) {
    return s.world->sprites;
}

Sprite* capsule(GameScene& s, int type) {
    Cube source(in(s), 2, 0);
    auto* capsule = new Diamond(&source);
    capsule->capsuleType = type;
    return capsule;
}

// A trap; its pole, made with it, stands just before it in the list.
Sprite* trap(GameScene& s, bool alarm) {
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
    {"Fighter2", [](GameScene& s) -> Sprite* { return new Fighter2(in(s), 0, 0, 1, 3); }, -2, 0.7f, 12, 0,
     darker, 0.05},
    {"Bandit2", [](GameScene& s) -> Sprite* { return new Bandit2(in(s), 0, 0, 1, 3); }, 2, 0.5f, 12, 0,
     darker, 0.03},
    {"FighterShot", [](GameScene& s) -> Sprite* { return new Bandit2Fire(in(s), 0, 0, 0); }, -1, 0.7f, 9, 0,
     brighter, 0.003},
    {"Raider", [](GameScene& s) -> Sprite* { return new Ship1(in(s), 0, 0, 1, 3); }, 2, 2, 13, 0, darker,
     0.015},
    {"RaiderShot", [](GameScene& s) -> Sprite* { return new Ship1Fire(in(s), 0, 0, 0); }, 1, 0.5f, 8, 0,
     brighter, 0.0015},
    {"Tank", [](GameScene& s) -> Sprite* { return new Tank(in(s), 0, 3); }, -3, 0.5f, 11, 0, darker, 0.1},
    {"TankShot", [](GameScene& s) -> Sprite* { return new TankFire(in(s), nullptr, 0, 0, 0, 0, -0.2f, -90); },
     3, 0.7f, 8, 0, yellower, 0.0025},
    {"ShipFlames", [](GameScene& s) -> Sprite* { return new MyShip(in(s), 100); }, 2.5f, 0.5f, 6, 0, warm,
     0.0025},
    {"ShipCountdown", [](GameScene& s) -> Sprite* { return new MyShip(in(s), 100); }, 2.5f, 0.5f, 6, 0, white,
     0.007},
    {"Bolt", [](GameScene& s) -> Sprite* { return new MyFire1(s.engine->ship, 0, 1.2f); }, -1, 0.5f, 8, 0,
     yellow, 0.004},
    {"Bomb", [](GameScene& s) -> Sprite* { return new MyFire2(s.engine->ship); }, 0, 0.5f, 12, 20, yellow,
     0.015},
    {"Explosion", [](GameScene& s) -> Sprite* { return new Explosion(s.engine->ship, 8, false, true); }, -2,
     1, 12, 10, warm, 0.3},
    {"PickUpBeams", [](GameScene& s) -> Sprite* { return new SpecialEffect1(s.engine->ship, 3); }, 0, 0.5f, 3,
     20, green, 0.02},
    {"Cube", [](GameScene& s) -> Sprite* { return new Cube(in(s), 2, 0); }, -3, 0.5f, 12, 0, brown, 0.02},
    {"ShieldCapsule", [](GameScene& s) { return capsule(s, Diamond::Shield); }, 3, 0.1f, 10, 0, blue, 0.02},
    {"BombCapsule", [](GameScene& s) { return capsule(s, Diamond::Bomb); }, 1, 0.1f, 10, 0, yellow, 0.015},
    {"PowerCapsule", [](GameScene& s) { return capsule(s, Diamond::Power); }, -1, 0.1f, 10, 0, magenta, 0.05},
    {"InvulnerabilityCapsule", [](GameScene& s) { return capsule(s, Diamond::Invulnerability); }, -3, 0.1f,
     10, 0, green, 0.03},
    {"Trap", [](GameScene& s) { return trap(s, false); }, 3, 1.5f, 14, 0, yellower, 0.006},
    {"TrapAlarm", [](GameScene& s) { return trap(s, true); }, -3, 1.5f, 14, 0, redder, 0.045},
    {"Star", [](GameScene& s) -> Sprite* { return new Spirale(in(s), s.engine->ship); }, 2, 4, 16, 0, blue,
     0.01},
    {"Nest", [](GameScene& s) -> Sprite* { return new Tache(in(s), 0, 9); }, -3, 0, 14, 0, yellower, 0.03},
    {"Scratcher", [](GameScene& s) -> Sprite* { return new Scratcher(in(s), 0, 0, true); }, 1, 1, 10, 0,
     brighter, 0.02},
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class SceneTest : public ::testing::TestWithParam<Row> {};

TEST_P(SceneTest, ShowsWhereItIsInItsColour) {
    const Row& row = GetParam();
    GameScene s;
    if (!s.open())
        GTEST_SKIP() << "needs an X display";
    s.addShip(0, 3)->invulnerable = 0;
    s.engine->frameStep = 0;
    std::srand(5);
    s.play(0, (std::string(row.name) + "-before.png").c_str());
    const std::vector<unsigned char> before = s.frame;
    Elem* last = in(s)->tail;
    Sprite* sprite = row.make(s);
    // What it made along with it (a trap's pole) stands with it.
    for (Elem* e = last ? last->next : in(s)->head; e; e = e->next)
        static_cast<Sprite*>(e)->x = row.x, static_cast<Sprite*>(e)->z = row.z;
    sprite->x = row.x;
    sprite->y = row.y;
    sprite->z = row.z;
    in(s)->add(sprite);
    s.engine->frameStep = 1;
    for (int i = 0; i < row.ticks; ++i, GameScene::now += 15)
        sprite->move();
    s.engine->frameStep = 0;
    std::srand(5);
    s.play(0, (std::string(row.name) + ".png").c_str());
    double px = 0, py = 0;
    s.project(sprite->x, sprite->y, sprite->z, &px, &py);
    int hits = 0, area = 0;
    for (int y = static_cast<int>(py) - 50; y < py + 50; ++y)
        for (int x = static_cast<int>(px) - 50; x < px + 50; ++x, ++area) {
            const size_t i = (static_cast<size_t>(y) * s.width + x) * 4;
            hits += changed(&before[i], &s.frame[i]) && row.colour(&before[i], &s.frame[i]);
        }
    EXPECT_GT(static_cast<double>(hits) / area, row.least) << "at " << px << ", " << py;
}

INSTANTIATE_TEST_SUITE_P(Sprites, SceneTest, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

// The credits and options panel fly over rows of bench nests that hatch hopping scratchers.
TEST(BackgroundScenes, FlyOverHatchingBenchNests) {
    struct Scene {
        const char* name;
        void (World::*update)();
        void (World::*render)();
        int frames; // of 5 ticks: a scratcher of each nest is in the air then
    };
    GameScene s;
    if (!s.open())
        GTEST_SKIP() << "needs an X display";
    for (const Scene& scene :
         {Scene{"credits.png", &World::updateCreditsScene, &World::renderCreditsScene, 50},
          Scene{"panel.png", &World::updatePanelScene, &World::renderPanelScene, 90}}) {
        SCOPED_TRACE(scene.name);
        s.world->replaceSprites();
        s.draw(scene.render);
        const std::vector<unsigned char> empty = s.frame;
        s.world->sceneStep = 0;
        for (int i = 0; i < scene.frames; ++i) {
            GameScene::now += 100;
            (s.world->*scene.update)();
        }
        s.draw(scene.render, scene.name);
        int nests = 0, hoppers = 0;
        for (Elem* e = s.world->sprites->head; e; e = e->next) {
            nests += dynamic_cast<TacheBench*>(e) != nullptr;
            hoppers += static_cast<Sprite*>(e)->kind == KindScratcher;
        }
        EXPECT_GT(nests, 2);
        EXPECT_GT(hoppers, 2);
        int glowing = 0;
        for (size_t i = 0; i < s.frame.size(); i += 4)
            glowing += yellower(&empty[i], &s.frame[i]) || redder(&empty[i], &s.frame[i]);
        EXPECT_GT(glowing, 1000);
    }
}

} // namespace
