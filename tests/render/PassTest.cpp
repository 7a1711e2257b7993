// Each render pass drawn with the plain test pictures and read back: where its parts land on the screen.
#include "RenderTest.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/World.h"
#include "render/SkyFloor.h"

#include <GL/gl.h>

namespace {

bool isDark(const unsigned char* p) {
    return p[0] < 40 && p[1] < 40 && p[2] < 40;
}
bool isFloorGreen(const unsigned char* p) {
    return p[1] > 80 && p[1] > p[0] + 30 && p[1] > p[2] + 20;
}

class PassTest : public RenderTest {
protected:
    // The mean of one channel over a rectangle of unit coordinates (y up).
    double mean(double x0, double y0, double x1, double y1, int channel) const {
        double sum = 0;
        int n = 0;
        for (int y = static_cast<int>(y0 * scene.height); y < static_cast<int>(y1 * scene.height); ++y)
            for (int x = static_cast<int>(x0 * scene.width); x < static_cast<int>(x1 * scene.width); ++x, ++n)
                sum += scene.pixel(x, y)[channel];
        return sum / n;
    }
    // Draws the pass twice (the second frame sees the state the first one left, as in the game).
    void frame(void (World::*pass)()) {
        (scene.world->*pass)();
        scene.draw(pass, "pass.png");
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

} // namespace

TEST_F(PassTest, MenuTitleCoversTheScreen) {
    frame(&World::renderMenu);
    EXPECT_GT(scene.share(0, 0, 1, 1, [](const unsigned char* p) { return p[0] > 200 && p[1] < 160; }), 0.97);
    // Tile columns and rows show their own part of the picture (green channel 60 column + 20 row).
    EXPECT_NEAR(mean(0.05, 0.6, 0.35, 0.95, 1), 0, 4);
    EXPECT_NEAR(mean(0.45, 0.6, 0.75, 0.95, 1), 60, 4);
    EXPECT_NEAR(mean(0.85, 0.6, 0.99, 0.95, 1), 120, 4);
    EXPECT_NEAR(mean(0.05, 0.3, 0.35, 0.42, 1), 20, 4); // above the menu ship
}

TEST_F(PassTest, PlayFrameShowsSkyFloorPanelAndGameOver) {
    frame(&World::renderPlay);
    EXPECT_GT(scene.share(0.05, 0.02, 0.95, 0.35, isFloorGreen), 0.95);
    EXPECT_GT(scene.share(0.0, 0.8, 0.6, 1.0, isDark), 0.97);
    EXPECT_GT(scene.share(0.81, 0.95, 0.97, 0.975,
                          [](const unsigned char* p) { return p[0] > 180 && p[2] > 180 && p[1] < 80; }),
              0.9);
    // Without a ship the game-over picture sits in the upper middle.
    EXPECT_GT(scene.share(0.3, 0.62, 0.7, 0.72,
                          [](const unsigned char* p) { return p[0] > 200 && p[1] > 200 && p[2] < 60; }),
              0.9);
}

TEST_F(PassTest, FloorByDetailsAndTheStarsShown) {
    // Stars on a grid in the sky, all bright.
    for (int i = 0; i < World::StarCount; ++i) {
        float* s = scene.world->stars[i];
        s[0] = s[1] = s[2] = 1.0f;
        s[3] = -40.0f + 2.7f * static_cast<float>(i % 30);
        s[4] = 4.0f + 1.2f * static_cast<float>(i / 30);
        s[5] = 90.0f;
    }
    struct Case {
        int details;
        int stars;     // drawn of the 300
        bool lightMap; // 0.55 x green tile + 0.45 x white light map x vertex colour: red and blue show
    };
    for (const Case c : {Case{0, 100, false}, Case{1, 150, true}, Case{2, 300, true}}) {
        SCOPED_TRACE(c.details);
        scene.engine->details = c.details;
        frame(&World::renderPlay);
        if (c.lightMap) {
            EXPECT_GT(mean(0.1, 0.02, 0.9, 0.3, 0), 30);
            EXPECT_GT(mean(0.1, 0.02, 0.9, 0.3, 2), 30);
        } else {
            EXPECT_LT(mean(0.1, 0.02, 0.9, 0.3, 0), 3);
            EXPECT_LT(mean(0.1, 0.02, 0.9, 0.3, 2), 3);
            EXPECT_GT(mean(0.1, 0.02, 0.9, 0.3, 1), 80);
        }
        // Each star where the camera puts it, away from the panel and the game-over picture.
        int seen = 0, hidden = 0, counted = 0;
        for (int i = 0; i < World::StarCount; ++i) {
            const float* s = scene.world->stars[i];
            double x = 0, y = 0;
            scene.project(s[3], s[4], s[5], &x, &y);
            const double u = x / scene.width, v = y / scene.height;
            if (x < 2 || y < 2 || x > scene.width - 3 || y > scene.height - 3 || (u > 0.78 && v > 0.78) ||
                (u > 0.24 && u < 0.76 && v > 0.58 && v < 0.76))
                continue;
            bool lit = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    lit = lit || scene.pixel(static_cast<int>(x) + dx, static_cast<int>(y) + dy)[0] > 40;
            seen += i < c.stars && lit;
            hidden += i >= c.stars && !lit;
            ++counted;
        }
        EXPECT_GT(counted, 200);
        EXPECT_EQ(seen + hidden, counted);
    }
}

TEST_F(PassTest, TopCameraLooksDownOnTheFloor) {
    for (int mode : {1, 2, 1}) {
        SCOPED_TRACE(mode);
        scene.engine->cameraMode = mode;
        frame(&World::renderPlay);
        EXPECT_GT(scene.share(0.1, 0.8, 0.3, 0.95, mode == 2 ? isFloorGreen : isDark), 0.95);
        EXPECT_GT(scene.share(0.1, 0.05, 0.9, 0.5, isFloorGreen), mode == 2 ? 0.95 : 0.5);
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
            if (isFloorGreen(scene.pixel(x, scene.height / 10)))
                (first < 0 ? first : last) = x;
        widths[k] = static_cast<double>(last - first) / scene.height;
    }
    EXPECT_NEAR(widths[1], widths[0], 0.02);
}

TEST_F(PassTest, BackgroundScenes) {
    frame(&World::renderPanelScene);
    // Along the floor's edge: floor and border below, the sky above and beside it (x beyond 12.5).
    EXPECT_GT(scene.share(
                  0.0, 0.0, 1.0, 0.25,
                  [](const unsigned char* p) { return isFloorGreen(p) || (p[2] > 80 && p[2] > p[0] + 30); }),
              0.9);
    EXPECT_GT(scene.share(0.0, 0.75, 1.0, 1.0, isDark), 0.97);
    EXPECT_GT(scene.share(0.0, 0.3, 0.15, 0.45, isDark), 0.9);
    scene.world->scenePhase = 1.0f;
    frame(&World::renderCreditsScene);
    EXPECT_GT(scene.share(0.1, 0.0, 0.9, 0.3, isFloorGreen), 0.9);
    // What the Qt screens drawn over them expect.
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(func, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

namespace {

// A flat square at height 1 whose only look is its shadow.
class ShadowSquare : public Sprite {
public:
    ShadowSquare(List* owner, float x0, float z0, float x1, float z1)
        : Sprite(owner, 99, x0, 1, z0), x1(x1), z1(z1) {}
    void draw() override {}
    void collide(Sprite*) override {}
    void drawShadow() override {
        ++shadows;
        glBegin(GL_QUADS); // both windings: the square has no back
        const float corners[8][2] = {{x, z}, {x1, z}, {x1, z1}, {x, z1}, {x, z}, {x, z1}, {x1, z1}, {x1, z}};
        for (const auto& c : corners)
            glVertex3f(c[0], y, c[1]);
        glEnd();
    }
    float x1, z1;
    int shadows = 0;
};

} // namespace

// Stencil shadows: only floor pixels darken, and each only once however many shadows cover it.
TEST_F(PassTest, ShadowsDarkenTheFloorOnce) {
    auto* a = new ShadowSquare(scene.world->sprites, -4, 10, 2, 16);
    auto* b = new ShadowSquare(scene.world->sprites, -1, 13, 5, 19);
    // Its shadow covers x 11 to 13.9: the border strip (to 12.5) and the sky beyond it.
    auto* beside = new ShadowSquare(scene.world->sprites, 11.18f, 10, 14.5f, 16);
    for (Sprite* s : {static_cast<Sprite*>(a), static_cast<Sprite*>(b), static_cast<Sprite*>(beside)})
        scene.world->sprites->add(s);
    scene.engine->details = 0;
    scene.engine->cameraMode = 2;
    glClearColor(0.5f, 0.5f, 0.5f, 1); // a grey sky shows any shadow that falls beside the floor
    // A channel where the shadow of (x, 1, z) falls on the floor, through the light at (20, 50, -10).
    auto under = [this](float x, float z, int channel, bool cast = true) {
        double px = 0, py = 0;
        scene.project(cast ? (50 * x - 20) / 49 : x, 0, cast ? (10 + 50 * z) / 49 : z, &px, &py);
        return static_cast<double>(scene.pixel(static_cast<int>(px), static_cast<int>(py))[channel]);
    };
    double lit[6] = {};
    for (bool shadows : {false, true}) {
        SCOPED_TRACE(shadows);
        scene.engine->shadows = shadows;
        scene.draw(&World::renderPlay);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(a->shadows, shadows ? 1 : 0);
        const double seen[6] = {under(-3, 11, 1), under(4, 18, 1),         under(0.5f, 14.5f, 1),
                                under(8, 11, 1),  under(12, 13, 2, false), under(13.2f, 13, 0, false)};
        if (!shadows) {
            std::copy(seen, seen + 6, lit);
            EXPECT_GT(lit[0], 80);
            EXPECT_GT(lit[4], 80);
            EXPECT_NEAR(lit[5], 128, 2);
            continue;
        }
        // Under a only, under b only, under both (still once), beside both, on the border strip, the sky.
        const double darkened[6] = {0.65, 0.65, 0.65, 1, 0.65, 1};
        for (int k = 0; k < 6; ++k)
            EXPECT_NEAR(seen[k], lit[k] * darkened[k], 3) << "point " << k;
    }
    glClearColor(0, 0, 0, 1);
}

TEST_F(PassTest, FogAndSpecularToggles) {
    struct State {
        GLint fogMode;
        int fogOn, specularOn;
        float specular;
    };
    auto fogParameter = [](GLenum name) {
        GLfloat v = 0;
        glGetFloatv(name, &v);
        return v;
    };
    World* w = scene.world;
    const State states[] = {{GL_LINEAR, 1, 1, 1}, {GL_EXP, 0, 0, 0}, {GL_LINEAR, 1, 1, 1}};
    for (const State& s : states) {
        if (&s != states) {
            w->toggleFog();
            w->toggleSpecular();
        }
        GLint mode = 0;
        glGetIntegerv(GL_FOG_MODE, &mode);
        EXPECT_EQ(mode, s.fogMode);
        EXPECT_EQ(w->fogOn, s.fogOn);
        EXPECT_EQ(w->specularOn, s.specularOn);
        GLfloat light[4], material[4];
        glGetLightfv(GL_LIGHT0, GL_SPECULAR, light);
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, material);
        EXPECT_FLOAT_EQ(light[0], s.specular);
        EXPECT_FLOAT_EQ(material[0], s.specular);
    }
    // Linear from 35 to 65 units, or exponential with density 0.022.
    EXPECT_FLOAT_EQ(fogParameter(GL_FOG_START), 35);
    EXPECT_FLOAT_EQ(fogParameter(GL_FOG_END), 65);
    EXPECT_FLOAT_EQ(fogParameter(GL_FOG_DENSITY), 0.022f);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
}
