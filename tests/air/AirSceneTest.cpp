// The fighters, raiders and tanks drawn by the real passes with the game's own pictures and models, read
// back and compared with the same frame without them. With ORBITRAX_SHOT_DIR set, each frame is also written
// there as a PNG to look at.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "enemies/Bandit2.h"
#include "enemies/Fighter2.h"
#include "enemies/Ship1.h"
#include "enemies/Tank.h"
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

class AirScene : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GameScene::available("bandit2.png"))
            GTEST_SKIP() << "needs an X display and the game's pictures";
        sceneNow = 50000;
        ASSERT_TRUE(scene.open(Width, Height, sceneTicks, 7));
        engine = scene.engine;
        world = scene.world;
    }

    void TearDown() override { scene.close(); }

    ListSprite* sprites() { return world->sprites; }

    void addShip(float x, float z) {
        auto* ship = new MyShip(sprites(), 100);
        ship->x = x;
        ship->z = z;
        ship->shipState = MyShip::Flying;
        sprites()->add(ship);
        engine->ship = ship;
    }

    template <typename T> T* add(T* s) {
        sprites()->add(s);
        return s;
    }

    // Draws one play frame after a move pass of step 0, so the two frames compared differ only by what was
    // added (the ship's pass sets up what the camera follows).
    std::vector<unsigned char> render(const char* name) {
        engine->frameStep = 1;
        sceneNow += 15;
        sprites()->moveAll();
        world->renderPlay();
        glFinish();
        std::vector<unsigned char> frame(static_cast<size_t>(Width) * Height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
        if (const char* dir = std::getenv("ORBITRAX_SHOT_DIR")) {
            QImage image(frame.data(), Width, Height, QImage::Format_RGBX8888);
            image.mirrored().save(QDir(dir).filePath(QString(name) + ".png"));
        }
        return frame;
    }

    // Share of the pixels of a rectangle (unit coordinates, y up) that changed between two frames.
    static double changed(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, double x0,
                          double y0, double x1, double y1,
                          const std::function<bool(const unsigned char*)>& test = nullptr) {
        int hits = 0, total = 0;
        for (int y = static_cast<int>(y0 * Height); y < static_cast<int>(y1 * Height); ++y)
            for (int x = static_cast<int>(x0 * Width); x < static_cast<int>(x1 * Width); ++x, ++total) {
                const size_t i = (static_cast<size_t>(y) * Width + x) * 4;
                const int d =
                    std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
                hits += d > 40 && (!test || test(&b[i])) ? 1 : 0;
            }
        return total ? static_cast<double>(hits) / total : 0.0;
    }

    GameScene scene;
    Engine* engine = nullptr;
    World* world = nullptr;
};

bool yellowish(const unsigned char* p) {
    return p[0] > 150 && p[1] > 130 && p[2] + 60 < p[1];
}

TEST_F(AirScene, FightersDiveAndFire) {
    addShip(0, 3);
    const auto empty = render("air-empty");
    const float lanes[4] = {-4, -1.5f, 1.5f, 4};
    for (int i = 0; i < 4; ++i) {
        DivingFighter* f =
            i % 2 ? static_cast<DivingFighter*>(add(new Bandit2(sprites(), lanes[i], 12, 0.8f, 3)))
                  : add(new Fighter2(sprites(), lanes[i], 12, 0.8f, 3));
        f->z = 12.0f + 3.0f * static_cast<float>(i);
        f->vx = i < 2 ? 0.12f : -0.12f; // banking towards the ship
        add(new Bandit2Fire(sprites(), f->x, f->y, f->z - 3));
    }
    const auto full = render("air-fighters");
    EXPECT_GT(changed(empty, full, 0.2, 0.2, 0.8, 0.8), 0.02);
    EXPECT_GT(changed(empty, full, 0.0, 0.0, 1.0, 1.0, yellowish), 0.00005); // the glowing shots
}

TEST_F(AirScene, RaidersCircleAndLoop) {
    addShip(0, 4);
    const auto empty = render("air-empty2");
    for (int i = 0; i < 3; ++i) {
        Ship1* r = add(new Ship1(sprites(), 0, 70, 0.7f, 3));
        r->state = Ship1::Circling;
        r->x = -5.0f + 5.0f * static_cast<float>(i);
        r->z = 10.0f + 2.0f * static_cast<float>(i);
    }
    Ship1* looping = add(new Ship1(sprites(), 0, 70, 0.7f, 3));
    looping->state = Ship1::Loop;
    looping->angle = 30;
    looping->x = 2.5f;
    looping->y = 4.5f;
    looping->z = 16;
    add(new Ship1Fire(sprites(), 0, 0.5f, 8));
    const auto full = render("air-raiders");
    EXPECT_GT(changed(empty, full, 0.2, 0.2, 0.8, 0.8), 0.01);
}

TEST_F(AirScene, TanksTurnTheirTurrets) {
    addShip(0, 3);
    const auto empty = render("air-empty3");
    const float turrets[3] = {-90, -45, 180};
    for (int i = 0; i < 3; ++i) {
        Tank* t = add(new Tank(sprites(), -4 + 4 * i, 7));
        t->z = 9.0f + 1.5f * static_cast<float>(i);
        t->turretAngle = turrets[i];
    }
    add(new TankFire(sprites(), nullptr, -4, 0.7f, 7, 0, -0.2f, -90));
    const auto full = render("air-tanks");
    EXPECT_GT(changed(empty, full, 0.2, 0.2, 0.8, 0.8), 0.01);
}

} // namespace
