// The ship, its weapons and the effects drawn by the real play frame with the game's own pictures, read
// back and measured by colour. With ORBITRAX_SHOT_DIR set, every frame is also written there as a PNG.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "enemies/Explosion.h"
#include "enemies/SpecialEffect1.h"
#include "platform/SdlCompat.h"
#include "player/MyFire2.h"
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

class PlayerSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GameScene::available("myship.png"))
            GTEST_SKIP() << "needs an X display and the game's pictures";
        sceneNow = 50000;
        sdlq::releaseAllKeys();
        ASSERT_TRUE(scene.open(Width, Height, sceneTicks, 5));
        engine = scene.engine;
        world = scene.world;
        MyShip::lastShotTime = 0;
        MyShip::lastBombTime = 0;
    }

    void TearDown() override {
        sdlq::releaseAllKeys();
        scene.close();
    }

    MyShip* addShip(float x, float z) {
        auto* ship = new MyShip(world->sprites, 100);
        ship->x = x;
        ship->z = z;
        ship->shipState = MyShip::Flying;
        world->sprites->add(ship);
        engine->ship = ship;
        return ship;
    }

    // Moves everything a few ticks without the wave generator, then draws one play frame.
    void play(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            sceneNow += 15;
            world->sprites->moveAll();
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

bool yellowish(const unsigned char* p) {
    return p[0] > 170 && p[1] > 140 && p[2] + 70 < p[1];
}
bool warm(const unsigned char* p) {
    return p[0] > 150 && p[0] > p[2] + 80;
}
bool greenish(const unsigned char* p) {
    return p[1] > 120 && p[1] > p[0] + 40 && p[1] > p[2] + 20;
}
bool bright(const unsigned char* p) {
    return p[0] > 180 && p[1] > 180 && p[2] > 180;
}

TEST_F(PlayerSceneTest, ShipWithFlamesBubbleAndCountdown) {
    addShip(0, 5);
    play(1);
    grab("player-ship");
    // The engine flames burn yellow below the middle of the view, the countdown digits are white.
    EXPECT_GT(share(0.4, 0.22, 0.62, 0.4, warm), 0.002);
    EXPECT_GT(share(0.4, 0.22, 0.62, 0.4, bright), 0.002);
}

TEST_F(PlayerSceneTest, LevelSevenSalvosFillTheFieldWithBolts) {
    MyShip* ship = addShip(0, 5);
    ship->invulnerable = 0;
    ship->weaponLevel = 7;
    play(1);
    engine->cameraMode = 2;
    play(1);
    grab("player-no-fire-top");
    const double before = share(0.3, 0.45, 0.7, 0.95, yellowish);
    engine->cameraMode = 1;
    sdlq::getKeyState()['w'] = 1;
    for (int i = 0; i < 40; ++i)
        play(3);
    grab("player-level7");
    // From above the rows of bolts show best.
    engine->cameraMode = 2;
    play(1);
    grab("player-level7-top");
    EXPECT_GT(share(0.3, 0.45, 0.7, 0.95, yellowish), before + 0.001);
    engine->cameraMode = 1;
}

TEST_F(PlayerSceneTest, BombRingAndExplosion) {
    MyShip* ship = addShip(0, 5);
    ship->invulnerable = 0;
    auto* bomb = new MyFire2(ship);
    bomb->z = 12;
    world->sprites->add(bomb);
    for (int i = 0; i < 6; ++i)
        play(5);
    grab("player-bomb");
    EXPECT_GT(share(0.0, 0.2, 1.0, 0.9, yellowish), 0.002);

    Explosion* explosion = new Explosion(ship, 8, false, true, 0, 1, 15);
    world->sprites->add(explosion);
    play(10);
    grab("player-explosion");
    EXPECT_GT(share(0.2, 0.3, 0.8, 0.9, yellowish), 0.01);
    for (int i = 0; i < 5; ++i)
        play(4);
    grab("player-debris");
}

TEST_F(PlayerSceneTest, PickUpBeamsRiseAroundTheShip) {
    MyShip* ship = addShip(0, 8);
    ship->invulnerable = 0;
    world->sprites->add(new SpecialEffect1(ship, 3));
    play(20);
    grab("player-pickup");
    EXPECT_GT(share(0.2, 0.0, 0.8, 1.0, greenish), 0.003);
}

} // namespace
