// Each render pass read back from the FBO: where its parts land on the screen.
#include "GLHarness.h"
#include "core/Engine.h"
#include "core/World.h"
#include "render/Camera.h"
#include "render/SkyFloor.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

bool isDark(const unsigned char* p) {
    return p[0] < 40 && p[1] < 40 && p[2] < 40;
}
bool isTitle(const unsigned char* p) {
    return p[0] > 200 && p[1] < 160;
}
bool isFloorGreen(const unsigned char* p) {
    return p[1] > 80 && p[1] > p[0] + 30 && p[1] > p[2] + 20;
}
bool isBoard(const unsigned char* p) {
    return p[0] > 180 && p[2] > 180 && p[1] < 80;
}

class PassTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GLHarness::get()->ok())
            GTEST_SKIP() << "no GL context (run under xvfb-run)";
        start(1024, 768);
    }
    void start(int w, int h) {
        h_ = GLHarness::get();
        world = h_->startWorld(w, h);
        e = Engine::instance();
        e->frameStep = 0;
        camX = camZ = camRoll = 0;
    }
    // Draws a frame twice (the second one sees the state the first one left, as in the game).
    void frame(void (World::*pass)()) {
        (world->*pass)();
        (world->*pass)();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        h_->readFrame();
    }
    GLHarness* h_ = nullptr;
    World* world = nullptr;
    Engine* e = nullptr;
};

} // namespace

TEST_F(PassTest, MenuTitleCoversTheScreen) {
    frame(&World::renderMenu);
    EXPECT_GT(h_->share(0, 0, 1, 1, isTitle), 0.97);
    // Tile columns and rows show their own part of the picture (green channel 60c + 20r).
    EXPECT_NEAR(h_->meanChannel(0.05, 0.6, 0.35, 0.95, 1), 0, 4);
    EXPECT_NEAR(h_->meanChannel(0.45, 0.6, 0.75, 0.95, 1), 60, 4);
    EXPECT_NEAR(h_->meanChannel(0.85, 0.6, 0.99, 0.95, 1), 120, 4);
    EXPECT_NEAR(h_->meanChannel(0.05, 0.02, 0.35, 0.4, 1), 20, 4);
}

TEST_F(PassTest, PlayFrameShowsSkyFloorAndPanel) {
    frame(&World::renderPlay);
    EXPECT_GT(h_->share(0.05, 0.02, 0.95, 0.35, isFloorGreen), 0.95);
    EXPECT_GT(h_->share(0.0, 0.8, 0.6, 1.0, isDark), 0.97);
    EXPECT_GT(h_->share(0.81, 0.95, 0.97, 0.975, isBoard), 0.9);
    // Without a ship the game-over picture sits in the upper middle.
    EXPECT_GT(
        h_->share(0.3, 0.62, 0.7, 0.72, [](const unsigned char* p) { return p[0] > 200 && p[1] > 200; }),
        0.9);
}

TEST_F(PassTest, TwoTextureFloorCarriesTheLightColours) {
    if (!e->hasCombineDot3)
        GTEST_SKIP() << "driver without texture combiners";
    ASSERT_TRUE(floorUsesTwoTextures());
    frame(&World::renderPlay);
    // 0.55 x green tile + 0.45 x white light map x vertex colour: red and blue show.
    EXPECT_GT(h_->meanChannel(0.1, 0.02, 0.9, 0.3, 0), 30);
    EXPECT_GT(h_->meanChannel(0.1, 0.02, 0.9, 0.3, 2), 30);
}

TEST_F(PassTest, LowDetailsDrawOneTextureFloorAndAThirdOfTheStars) {
    // Lay the stars out on a grid in the sky, all bright.
    for (int i = 0; i < World::StarCount; ++i) {
        float* s = world->stars[i];
        s[0] = s[1] = s[2] = 1.0f;
        s[3] = -40.0f + 2.7f * static_cast<float>(i % 30);
        s[4] = 4.0f + 1.2f * static_cast<float>(i / 30);
        s[5] = 90.0f;
    }
    for (int details : {0, 1, 2}) {
        SCOPED_TRACE(details);
        e->details = details;
        EXPECT_EQ(floorUsesTwoTextures(), details != 0 && e->hasCombineDot3);
        frame(&World::renderPlay);
        if (details == 0) {
            // Lit green tile, no light map: no red or blue at all.
            EXPECT_LT(h_->meanChannel(0.1, 0.02, 0.9, 0.3, 0), 3);
            EXPECT_LT(h_->meanChannel(0.1, 0.02, 0.9, 0.3, 2), 3);
            EXPECT_GT(h_->meanChannel(0.1, 0.02, 0.9, 0.3, 1), 80);
        }
        // Find each star where the chase camera puts it.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(50, aspectFor(1.333333, 1024, 768), 2, 160);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0.9 * camX, 3 + camZ / 3, -2, camX, 0.4, 7 + camZ / 2.5, 0, 1, 0);
        GLdouble model[16], projection[16];
        GLint viewport[4] = {0, 0, 1024, 768};
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        int seen = 0, hidden = 0, counted = 0;
        for (int i = 0; i < World::StarCount; ++i) {
            const float* s = world->stars[i];
            GLdouble wx, wy, wz;
            gluProject(s[3], s[4], s[5], model, projection, viewport, &wx, &wy, &wz);
            const int px = static_cast<int>(wx), py = static_cast<int>(wy);
            const bool underHud =
                (px > 0.78 * 1024 && py > 0.78 * 768) ||
                (px > 0.24 * 1024 && px < 0.76 * 1024 && py > 0.58 * 768 && py < 0.76 * 768);
            if (px < 2 || py < 2 || px > 1021 || py > 765 || underHud)
                continue;
            bool lit = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    lit = lit || h_->pixel(px + dx, py + dy)[0] > 40;
            const bool drawn = i < visibleStars(World::StarCount, details);
            seen += drawn && lit;
            hidden += !drawn && !lit;
            counted += 1;
        }
        EXPECT_GT(counted, 200);
        EXPECT_EQ(seen + hidden, counted);
    }
}

TEST_F(PassTest, TopCameraLooksDownOnTheFloor) {
    frame(&World::renderPlay);
    EXPECT_GT(h_->share(0.05, 0.8, 0.3, 0.95, isDark), 0.95);
    e->cameraMode = 2;
    frame(&World::renderPlay);
    EXPECT_GT(h_->share(0.1, 0.8, 0.3, 0.95, isFloorGreen), 0.95);
    EXPECT_GT(h_->share(0.1, 0.05, 0.9, 0.5, isFloorGreen), 0.95);
    e->cameraMode = 1;
    frame(&World::renderPlay);
    EXPECT_GT(h_->share(0.05, 0.8, 0.3, 0.95, isDark), 0.95);
}

TEST_F(PassTest, WideWindowIsNotStretched) {
    // The floor ends 10.5 units to each side; in a wider window the same view shows more beside it,
    // so the floor takes a smaller share of the screen width than at 4:3.
    auto floorWidth = [this]() {
        int first = -1, last = -1;
        const int y = h_->height / 10;
        for (int x = 0; x < h_->width; ++x) {
            if (isFloorGreen(h_->pixel(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        return static_cast<double>(last - first) / h_->height;
    };
    e->cameraMode = 2;
    frame(&World::renderPlay);
    const double narrow = floorWidth();
    start(1280, 720);
    e->cameraMode = 2;
    frame(&World::renderPlay);
    const double wide = floorWidth();
    // Measured against the height, the floor keeps its size when only the width grows.
    EXPECT_NEAR(wide, narrow, 0.02);
    e->cameraMode = 1;
}

TEST_F(PassTest, PanelSceneLooksAlongTheFloorsEdge) {
    frame(&World::renderPanelScene);
    auto floorOrBorder = [](const unsigned char* p) {
        return isFloorGreen(p) || (p[2] > 80 && p[2] > p[0] + 30);
    };
    EXPECT_GT(h_->share(0.0, 0.0, 1.0, 0.25, floorOrBorder), 0.9);
    EXPECT_GT(h_->share(0.0, 0.75, 1.0, 1.0, isDark), 0.97);
    // Beside the edge (x beyond 12.5, on the left of the screen) lies the sky.
    EXPECT_GT(h_->share(0.0, 0.3, 0.15, 0.45, isDark), 0.9);
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(func, GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(PassTest, CreditsSceneShowsTheFloorFromAbove) {
    world->scenePhase = 1.0f;
    frame(&World::renderCreditsScene);
    EXPECT_GT(h_->share(0.1, 0.0, 0.9, 0.3, isFloorGreen), 0.9);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(PassTest, FogAndSpecularToggles) {
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_LINEAR);
    world->toggleFog();
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_EXP);
    EXPECT_EQ(world->fogOn, 0);
    GLfloat density = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_FLOAT_EQ(density, 0.022f);
    world->toggleFog();
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_LINEAR);
    GLfloat start = 0, end = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_FLOAT_EQ(start, 35);
    EXPECT_FLOAT_EQ(end, 65);
    EXPECT_TRUE(glIsEnabled(GL_FOG));

    GLfloat specular[4];
    world->toggleSpecular();
    EXPECT_EQ(world->specularOn, 0);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 0);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 0);
    world->toggleSpecular();
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 1);
}
