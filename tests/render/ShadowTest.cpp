// Stencil shadows: only floor pixels darken, and each only once however many shadows cover it.
#include "GLHarness.h"
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/World.h"
#include "render/Camera.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// A flat square at height y whose only look is its shadow.
class ShadowSquare : public Sprite {
public:
    ShadowSquare(List* owner, float x0, float z0, float x1, float z1)
        : Sprite(owner, 99, x0, 1, z0), x1(x1), z1(z1) {}
    void draw() override {}
    void collide(Sprite*) override {}
    void drawShadow() override {
        ++shadowCalls;
        glBegin(GL_QUADS); // both windings: the square has no back
        glVertex3f(x, y, z);
        glVertex3f(x1, y, z);
        glVertex3f(x1, y, z1);
        glVertex3f(x, y, z1);
        glVertex3f(x, y, z);
        glVertex3f(x, y, z1);
        glVertex3f(x1, y, z1);
        glVertex3f(x1, y, z);
        glEnd();
    }
    float x1, z1;
    int shadowCalls = 0;
};

class ShadowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GLHarness::get()->ok())
            GTEST_SKIP() << "no GL context (run under xvfb-run)";
        h_ = GLHarness::get();
        world = h_->startWorld();
        e = Engine::instance();
        e->frameStep = 0;
        e->details = 0;
        e->cameraMode = 2;
        camX = camZ = camRoll = 0;
        // A grey sky shows any shadow that would fall beside the floor.
        glClearColor(0.5f, 0.5f, 0.5f, 1);
    }
    void TearDown() override {
        if (e)
            e->cameraMode = 1;
        glClearColor(0, 0, 0, 1);
    }
    // Screen position of a floor point in the top view.
    void project(float x, float z, int* px, int* py) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(50, 0.8, 3, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const double depth = 21 - 0.2 * (21 - camZ);
        gluLookAt(0.2 * camX, 36, depth, 0.2 * camX, 0, depth, 0, 0, 1);
        GLdouble model[16], projection[16], wx, wy, wz;
        GLint viewport[4] = {0, 0, h_->width, h_->height};
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        gluProject(x, 0, z, model, projection, viewport, &wx, &wy, &wz);
        *px = static_cast<int>(wx);
        *py = static_cast<int>(wy);
    }
    // Shadow point of (x, 1, z) on the floor, through the light at (20, 50, -10).
    static void shadowOf(float x, float z, float* sx, float* sz) {
        *sx = (50 * x - 20) / 49;
        *sz = (10 + 50 * z) / 49;
    }
    // A channel of the pixel where the shadow of the point (x, 1, z) falls.
    int under(float x, float z, int channel) {
        float sx, sz;
        shadowOf(x, z, &sx, &sz);
        return onFloor(sx, sz, channel);
    }
    int onFloor(float x, float z, int channel) {
        int px, py;
        project(x, z, &px, &py);
        return h_->pixel(px, py)[channel];
    }
    GLHarness* h_ = nullptr;
    World* world = nullptr;
    Engine* e = nullptr;
};

} // namespace

TEST_F(ShadowTest, OverlapDarkensOnceAndNothingOffTheFloor) {
    auto* a = new ShadowSquare(world->sprites, -4, 10, 2, 16);
    auto* b = new ShadowSquare(world->sprites, -1, 13, 5, 19);
    // Its shadow covers x 11 to 13.9: the border strip (to 12.5) and the sky beyond it.
    auto* beside = new ShadowSquare(world->sprites, 11.18f, 10, 14.5f, 16);
    world->sprites->add(a);
    world->sprites->add(b);
    world->sprites->add(beside);

    e->shadows = false;
    world->renderPlay();
    h_->readFrame();
    EXPECT_EQ(a->shadowCalls, 0);
    const int lit = under(-3, 11, 1);
    const int strip = onFloor(12, 13, 2);
    const int sky = onFloor(13.2f, 13, 0);
    EXPECT_GT(lit, 80);
    EXPECT_GT(strip, 80);
    EXPECT_NEAR(sky, 128, 2);

    e->shadows = true;
    world->renderPlay();
    h_->readFrame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(a->shadowCalls, 1);
    EXPECT_NEAR(under(-3, 11, 1), lit * 0.65, 3);      // under a only
    EXPECT_NEAR(under(4, 18, 1), lit * 0.65, 3);       // under b only
    EXPECT_NEAR(under(0.5f, 14.5f, 1), lit * 0.65, 3); // under both: still once
    EXPECT_NEAR(under(8, 11, 1), lit, 2);              // beside both
    EXPECT_NEAR(onFloor(12, 13, 2), strip * 0.65, 3);  // the border strip takes shadows too
    EXPECT_NEAR(onFloor(13.2f, 13, 0), sky, 2);        // beyond it the sky stays
}
