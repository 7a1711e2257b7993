// Each render pass drawn with the plain pictures and read back: where its parts land on the screen.
#include "RenderTest.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/World.h"

#include <GL/gl.h>

namespace {

bool dark(const unsigned char* p) {
    return p[0] < 40 && p[1] < 40 && p[2] < 40;
}
bool floorGreen(const unsigned char* p) {
    return p[1] > 80 && p[1] > p[0] + 30 && p[1] > p[2] + 20;
}

class PassTest : public RenderTest {
protected:
    // The mean of one channel over a rectangle of unit coordinates (y up).
    double mean(double x0, double y0, double x1, double y1, int channel) const {
        double sum = 0;
        int n = 0;
        for (int y = static_cast<int>(y0 * scene.height); y < y1 * scene.height; ++y)
            for (int x = static_cast<int>(x0 * scene.width); x < x1 * scene.width; ++x, ++n)
                sum += scene.pixel(x, y)[channel];
        return sum / n;
    }
    // Draws the pass twice: the second frame sees the state the first one left, as in the game.
    void frame(void (World::*pass)()) {
        (scene.world->*pass)();
        scene.draw(pass, "pass.png");
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

// A flat square at height 1 whose only look is its shadow.
class Square : public Sprite {
public:
    Square(List* owner, float x0, float z0, float x1, float z1)
        : Sprite(owner, 99, x0, 1, z0), x1(x1), z1(z1) {}
    void draw() override {}
    void collide(Sprite*) override {}
    void drawShadow() override {
        ++shadows;
        glBegin(GL_QUADS); // both windings: the square has no back
        for (auto [u, v] : {std::pair{x, z}, {x1, z}, {x1, z1}, {x, z1}, {x, z}, {x, z1}, {x1, z1}, {x1, z}})
            glVertex3f(u, y, v);
        glEnd();
    }
    float x1, z1;
    int shadows = 0;
};

} // namespace

TEST_F(PassTest, MenuTitleCoversTheScreenTileByTile) {
    frame(&World::renderMenu);
    EXPECT_GT(scene.share(0, 0, 1, 1, [](const unsigned char* p) { return p[0] > 200 && p[1] < 160; }), 0.97);
    // Each tile shows its own part of the picture (green channel 60 a column + 20 a row), above the ship.
    EXPECT_NEAR(mean(0.05, 0.6, 0.35, 0.95, 1), 0, 4);
    EXPECT_NEAR(mean(0.45, 0.6, 0.75, 0.95, 1), 60, 4);
    EXPECT_NEAR(mean(0.85, 0.6, 0.99, 0.95, 1), 120, 4);
    EXPECT_NEAR(mean(0.05, 0.3, 0.35, 0.42, 1), 20, 4);
}

TEST_F(PassTest, PlayFrameShowsSkyFloorPanelAndGameOver) {
    frame(&World::renderPlay);
    EXPECT_GT(scene.share(0.05, 0.02, 0.95, 0.35, floorGreen), 0.95);
    EXPECT_GT(scene.share(0.0, 0.8, 0.6, 1.0, dark), 0.97);
    EXPECT_GT(
        scene.share(0.81, 0.95, 0.97, 0.975, [](auto p) { return p[0] > 180 && p[2] > 180 && p[1] < 80; }),
        0.9);
    // Without a ship the game-over picture sits in the upper middle.
    EXPECT_GT(scene.share(0.3, 0.62, 0.7, 0.72, [](auto p) { return p[0] > 200 && p[1] > 200 && p[2] < 60; }),
              0.9);
}

TEST_F(PassTest, DetailsChooseTheFloorAndTheStarsShown) {
    for (int i = 0; i < World::StarCount; ++i) { // on a grid in the sky, all bright
        float* s = scene.world->stars[i];
        std::fill_n(s, 3, 1.0f);
        s[3] = -40.0f + 2.7f * static_cast<float>(i % 30);
        s[4] = 4.0f + 1.2f * static_cast<float>(i / 30);
        s[5] = 90.0f;
    }
    // The light map: 0.55 green tile + 0.45 white map x vertex colour shows red and blue; without, none.
    for (auto [details, stars, lightMap] : {std::tuple{0, 100, false}, {1, 150, true}, {2, 300, true}}) {
        SCOPED_TRACE(details);
        scene.engine->details = details;
        frame(&World::renderPlay);
        EXPECT_EQ(mean(0.1, 0.02, 0.9, 0.3, 0) > 30 && mean(0.1, 0.02, 0.9, 0.3, 2) > 30, lightMap);
        EXPECT_EQ(mean(0.1, 0.02, 0.9, 0.3, 0) < 3 && mean(0.1, 0.02, 0.9, 0.3, 2) < 3, !lightMap);
        EXPECT_GT(mean(0.1, 0.02, 0.9, 0.3, 1), 80);
        // Each star where the camera puts it, away from the panel and the game-over picture.
        int wrong = 0, counted = 0;
        for (int i = 0; i < World::StarCount; ++i) {
            double x = 0, y = 0;
            scene.project(scene.world->stars[i][3], scene.world->stars[i][4], 90, &x, &y);
            const double u = x / scene.width, v = y / scene.height;
            if (u < 0.01 || v < 0.01 || u > 0.99 || v > 0.99 || (u > 0.78 && v > 0.78) ||
                (u > 0.24 && u < 0.76 && v > 0.58 && v < 0.76))
                continue;
            bool lit = false;
            for (int k = 0; k < 9; ++k)
                lit = lit ||
                      scene.pixel(static_cast<int>(x) + k % 3 - 1, static_cast<int>(y) + k / 3 - 1)[0] > 40;
            wrong += lit != (i < stars);
            ++counted;
        }
        EXPECT_GT(counted, 200);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PassTest, TopCameraLooksDownOnTheFloor) {
    for (int mode : {1, 2, 1}) {
        scene.engine->cameraMode = mode;
        frame(&World::renderPlay);
        EXPECT_GT(scene.share(0.1, 0.8, 0.3, 0.95, mode == 2 ? floorGreen : dark), 0.95) << mode;
        EXPECT_GT(scene.share(0.1, 0.05, 0.9, 0.5, floorGreen), mode == 2 ? 0.95 : 0.5) << mode;
    }
}

TEST_F(PassTest, WideWindowIsNotStretched) {
    // Measured against the height, the floor (10.5 units to each side) keeps its size as the width grows.
    double widths[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        if (k == 1)
            start(1280, 720);
        scene.engine->cameraMode = 2;
        frame(&World::renderPlay);
        int first = -1, last = -1;
        for (int x = 0; x < scene.width; ++x)
            if (floorGreen(scene.pixel(x, scene.height / 10)))
                (first < 0 ? first : last) = x;
        widths[k] = static_cast<double>(last - first) / scene.height;
    }
    EXPECT_NEAR(widths[1], widths[0], 0.02);
}

TEST_F(PassTest, BackgroundScenesLeaveWhatTheScreensOverThemExpect) {
    frame(&World::renderPanelScene);
    // Along the floor's edge: floor and border below, the sky above and beside it (x beyond 12.5).
    EXPECT_GT(
        scene.share(0, 0, 1, 0.25, [](auto p) { return floorGreen(p) || (p[2] > 80 && p[2] > p[0] + 30); }),
        0.9);
    EXPECT_GT(scene.share(0.0, 0.75, 1.0, 1.0, dark), 0.97);
    EXPECT_GT(scene.share(0.0, 0.3, 0.15, 0.45, dark), 0.9);
    scene.world->scenePhase = 1.0f;
    frame(&World::renderCreditsScene);
    EXPECT_GT(scene.share(0.1, 0.0, 0.9, 0.3, floorGreen), 0.9);
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(func, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

// Stencil shadows: only floor pixels darken, and each only once however many shadows cover it.
TEST_F(PassTest, ShadowsDarkenTheFloorOnce) {
    auto* a = new Square(scene.world->sprites, -4, 10, 2, 16);
    scene.world->sprites->add(a);
    scene.world->sprites->add(new Square(scene.world->sprites, -1, 13, 5, 19));
    // Its shadow covers x 11 to 13.9: the border strip (to 12.5) and the sky beyond it.
    scene.world->sprites->add(new Square(scene.world->sprites, 11.18f, 10, 14.5f, 16));
    scene.engine->details = 0;
    scene.engine->cameraMode = 2;
    glClearColor(0.5f, 0.5f, 0.5f, 1); // a grey sky shows any shadow that falls beside the floor
    // Points under a only, b only, both (still darkened once), neither, on the strip and on the sky; the
    // shadows of (x, 1, z) fall through the light at (20, 50, -10).
    const float points[6][3] = {{-3, 11, 1}, {4, 18, 1},  {0.5f, 14.5f, 1},
                                {8, 11, 1},  {12, 13, 0}, {13.2f, 13, 0}};
    const double darkened[6] = {0.65, 0.65, 0.65, 1, 0.65, 1};
    double lit[6] = {};
    for (bool shadows : {false, true}) {
        scene.engine->shadows = shadows;
        scene.draw(&World::renderPlay);
        EXPECT_EQ(a->shadows, shadows ? 1 : 0);
        for (int k = 0; k < 6; ++k) {
            const float* p = points[k];
            double x = 0, y = 0;
            scene.project(p[2] ? (50 * p[0] - 20) / 49 : p[0], 0, p[2] ? (10 + 50 * p[1]) / 49 : p[1], &x,
                          &y);
            const double seen = scene.pixel(static_cast<int>(x), static_cast<int>(y))[k < 4    ? 1
                                                                                      : k == 4 ? 2
                                                                                               : 0];
            EXPECT_NEAR(seen, shadows ? lit[k] * darkened[k] : k == 5 ? 128 : seen, 3) << "point " << k;
            EXPECT_TRUE(shadows || k == 5 || seen > 80) << "point " << k;
            lit[k] = seen;
        }
    }
    glClearColor(0, 0, 0, 1);
}

TEST_F(PassTest, FogAndSpecularToggle) {
    World* w = scene.world;
    for (auto [mode, on] : {std::pair{GL_LINEAR, 1}, {GL_EXP, 0}, {GL_LINEAR, 1}}) {
        GLint fog = 0;
        GLfloat light[4], material[4];
        glGetIntegerv(GL_FOG_MODE, &fog);
        glGetLightfv(GL_LIGHT0, GL_SPECULAR, light);
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, material);
        EXPECT_EQ(std::tuple(fog, w->fogOn, w->specularOn, light[0], material[0]),
                  std::tuple(mode, on, on, on, on));
        w->toggleFog();
        w->toggleSpecular();
    }
    // Linear from 35 to 65 units, or exponential with density 0.022.
    GLfloat start = 0, end = 0, density = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_EQ(std::tuple(start, end, density), std::tuple(35.0f, 65.0f, 0.022f));
}
