// The ground objects drawn by the real passes with the game's own pictures, read back and measured.
// With ORBITRAX_SHOT_DIR set, every frame is also written there as a PNG to look at.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/SpriteKind.h"
#include "core/World.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/Piege.h"
#include "enemies/Scratcher.h"
#include "enemies/Spirale.h"
#include "enemies/Tache.h"
#include "enemies/TacheBench.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include "GameScene.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <GL/gl.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

Uint32 sceneNow = 0;
Uint32 sceneTicks() {
    return sceneNow;
}

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GameScene::available("cube.png"))
            GTEST_SKIP() << "needs an X display and the game's pictures";
        sceneNow = 50000;
        ASSERT_TRUE(scene.open(Width, Height, sceneTicks, 99));
        engine = scene.engine;
        world = scene.world;
    }

    void TearDown() override { scene.close(); }

    ListSprite* sprites() { return world->sprites; }

    MyShip* addShip(float x, float z) {
        MyShip* ship = new MyShip(sprites(), 100);
        ship->x = x;
        ship->z = z;
        ship->shipState = MyShip::Flying;
        sprites()->add(ship);
        engine->ship = ship;
        return ship;
    }

    template <typename T, typename... Args> T* add(Args&&... args) {
        T* s = new T(sprites(), std::forward<Args>(args)...);
        sprites()->add(s);
        return s;
    }

    // Moves everything a few ticks without the wave generator, then draws one play frame.
    void play(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            sceneNow += 15;
            sprites()->moveAll();
        }
        world->renderPlay();
        glFinish();
    }

    void grab(const char* name) {
        frame.assign(static_cast<size_t>(Width) * Height * 4, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
        if (const char* dir = std::getenv("ORBITRAX_SHOT_DIR")) {
            QImage image(frame.data(), Width, Height, QImage::Format_RGBA8888);
            image.mirrored()
                .convertToFormat(QImage::Format_RGB32)
                .save(QDir(dir).filePath(QString(name) + ".png"));
        }
    }

    // Share of the pixels of the whole frame that changed from `before` as the test says.
    double changed(const std::vector<unsigned char>& before,
                   const std::function<bool(const unsigned char*, const unsigned char*)>& test) const {
        int hits = 0;
        for (size_t i = 0; i + 3 < frame.size(); i += 4)
            hits += test(&before[i], &frame[i]) ? 1 : 0;
        return static_cast<double>(hits) / (Width * Height);
    }

    // Share of the pixels in a rectangle of unit coordinates (y up) that pass the test.
    double share(double x0, double y0, double x1, double y1,
                 const std::function<bool(const unsigned char*)>& test) const {
        int hits = 0, total = 0;
        for (int y = static_cast<int>(y0 * Height); y < static_cast<int>(y1 * Height); ++y)
            for (int x = static_cast<int>(x0 * Width); x < static_cast<int>(x1 * Width); ++x, ++total)
                hits += test(&frame[(static_cast<size_t>(y) * Width + x) * 4]) ? 1 : 0;
        return total ? static_cast<double>(hits) / total : 0.0;
    }

    GameScene scene;
    Engine* engine = nullptr;
    World* world = nullptr;
    std::vector<unsigned char> frame;
};

// Light added: red and green up (yellow), or red up alone.
bool yellowAdded(const unsigned char* before, const unsigned char* after) {
    return after[0] > before[0] + 25 && after[1] > before[1] + 20 && after[2] < before[2] + 15;
}
bool redAdded(const unsigned char* before, const unsigned char* after) {
    return after[0] > before[0] + 30 && after[1] < before[1] + 10 && after[2] < before[2] + 15;
}

bool reddish(const unsigned char* p) {
    return p[0] > 150 && p[0] > p[1] + 70 && p[0] > p[2] + 70;
}
bool yellowish(const unsigned char* p) {
    return p[0] > 150 && p[1] > 130 && p[2] + 60 < p[1];
}
bool brownish(const unsigned char* p) {
    return p[0] > p[1] + 15 && p[1] > p[2] + 10 && p[0] > 60 && p[0] < 230;
}
bool blueish(const unsigned char* p) {
    return p[2] > 150 && p[2] > p[0] + 80 && p[2] > p[1] + 40;
}

TEST_F(SceneTest, CubesRollInAndLeaveCapsules) {
    addShip(0, 3);
    const int columns[3] = {-3, 0, 3};
    for (int i = 0; i < 3; ++i) {
        Cube* cube = add<Cube>(2, columns[i]);
        cube->z = 14.0f + 3.0f * static_cast<float>(i);
    }
    Cube* source = add<Cube>(2, 0);
    source->z = 9;
    for (int type = 0; type < 4; ++type) {
        Diamond* capsule = new Diamond(source);
        capsule->capsuleType = type;
        capsule->x = -4.5f + 3.0f * static_cast<float>(type);
        sprites()->add(capsule);
    }
    source->dead = 1;
    sprites()->removeDead();
    play(3);
    grab("ground-cubes");
    EXPECT_GT(share(0.3, 0.3, 0.7, 0.7, brownish), 0.01);
    EXPECT_GT(share(0.0, 0.0, 1.0, 0.6, blueish), 0.0007);  // the shield capsule
    EXPECT_GT(share(0.0, 0.0, 1.0, 0.6, yellowish), 0.002); // the bomb capsule
}

TEST_F(SceneTest, ACollectedCapsuleLightsTheShip) {
    MyShip* ship = addShip(0, 6);
    Cube* source = add<Cube>(2, 0);
    source->z = 6;
    Diamond* capsule = new Diamond(source);
    capsule->capsuleType = Diamond::Power;
    sprites()->add(capsule);
    source->dead = 1;
    play(1); // the ship collects the capsule in this frame
    EXPECT_EQ(ship->weaponLevel, 1);
    play(4);
    grab("ground-pickup");
    EXPECT_EQ(ship->score, 500);
}

TEST_F(SceneTest, ATrapSoundsItsAlarmAndRainsStars) {
    MyShip* ship = addShip(-1, 8);
    play(1);
    grab("ground-trap-none");
    const std::vector<unsigned char> empty = frame;

    // A trap and its pole, moved together to where the camera sees them.
    auto placeTrap = [this](float x, float z) {
        Piege* trap = add<Piege>();
        Sprite* pole = static_cast<Sprite*>(trap->prev); // made and added just before the trap
        EXPECT_EQ(pole->kind, KindPoto);
        trap->x = pole->x = x;
        trap->z = pole->z = z;
        return trap;
    };
    placeTrap(4, 16);
    play(1);
    grab("ground-trap-idle");
    EXPECT_GT(changed(empty, yellowAdded), 0.004); // its spot and beam

    Piege* trap = placeTrap(-1, 12);
    trap->collide(ship);
    ship->z = 5;
    play(8); // the ship is clear of the trap now: stars are launched
    EXPECT_EQ(trap->state, Piege::Alarm);
    grab("ground-trap-alarm");
    EXPECT_GT(changed(empty, redAdded), 0.01);

    // Clear of the trap the ship sees the stars come down.
    ship->x = 3;
    play(60);
    int stars = 0;
    for (Elem* e = sprites()->head; e; e = e->next)
        stars += static_cast<Sprite*>(e)->kind == KindSpirale ? 1 : 0;
    EXPECT_GE(stars, 5);
    grab("ground-trap-rain");
    // They show against the black sky over the far end of the field.
    EXPECT_GT(changed(empty,
                      [](const unsigned char* before, const unsigned char* after) {
                          return before[0] + before[1] + before[2] < 30 && after[2] > before[2] + 60;
                      }),
              0.0002);
}

TEST_F(SceneTest, NestsHatchHoppingScratchers) {
    addShip(0, 3);
    Tache* nest = add<Tache>(-3.0f, 9);
    nest->z = 16;
    Tache* dead = add<Tache>(3.5f, 9);
    dead->z = 13;
    dead->state = Tache::Destroyed;
    for (int i = 0; i < 3; ++i) {
        Scratcher* s = add<Scratcher>(-3.0f, 16.0f, false);
        for (int t = 0; t < 92 + 10 * i; ++t)
            s->move();
    }
    play(1);
    grab("ground-nests");
    EXPECT_GT(share(0.0, 0.2, 1.0, 1.0, reddish), 0.0003);    // scratchers
    EXPECT_GT(share(0.0, 0.2, 1.0, 0.8, yellowish), 0.00015); // the live nest's glow
}

// The background scenes of the credits and the options panel fill with bench nests.
TEST_F(SceneTest, BackgroundScenesFlyOverBenchNests) {
    struct Scene {
        const char* name;
        void (World::*update)();
        void (World::*render)();
        int frames; // of 5 ticks: a scratcher of each nest is in the air then
    };
    for (const Scene& scene :
         {Scene{"ground-credits", &World::updateCreditsScene, &World::renderCreditsScene, 50},
          Scene{"ground-panel", &World::updatePanelScene, &World::renderPanelScene, 90}}) {
        world->replaceSprites();
        world->sceneStep = 0;
        for (int i = 0; i < scene.frames; ++i) {
            sceneNow += 20 * 5;
            (world->*scene.update)();
        }
        (world->*scene.render)();
        glFinish();
        grab(scene.name);
        int nests = 0, hoppers = 0;
        for (Elem* e = sprites()->head; e; e = e->next) {
            nests += dynamic_cast<TacheBench*>(static_cast<Sprite*>(e)) ? 1 : 0;
            hoppers += static_cast<Sprite*>(e)->kind == KindScratcher ? 1 : 0;
        }
        EXPECT_GT(nests, 0) << scene.name;
        EXPECT_GT(hoppers, 0) << scene.name;
        EXPECT_GT(share(0, 0, 1, 1, yellowish) + share(0, 0, 1, 1, reddish), 0.002) << scene.name;
    }
}

} // namespace
