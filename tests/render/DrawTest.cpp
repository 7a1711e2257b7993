// Each render pass and the texture table on a real driver, with plain pictures (GameScene) so that what a
// pass draws is told apart by colour: where its parts land on the screen, and how each texture is set up.
#include "GameScene.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/World.h"
#include "enemies/Explosion.h"
#include "enemies/PieceOfShip.h"
#include "platform/GameSurface.h"
#include "player/MyShip.h"
#include "render/GLSetup.h"
#include "render/Textures.h"

#include <QColor>
#include <QImage>

#include <GL/gl.h>
#include <GL/glext.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>
#include <string>

namespace {

using Test = bool (*)(const unsigned char*);
constexpr Test dark = [](auto p) { return p[0] < 40 && p[1] < 40 && p[2] < 40; };
constexpr Test floorGreen = [](auto p) { return p[1] > 80 && p[1] > p[0] + 30 && p[1] > p[2] + 20; };
template <int green> constexpr Test tile = [](auto p) { return p[0] > 200 && std::abs(p[1] - green) < 8; };

// Where each pass puts its parts: the share of a rectangle (unit coordinates, y up) that passes a test.
constexpr struct Area {
    void (World::*pass)();
    double x0, y0, x1, y1;
    Test test;
    double least;
} areas[] = {
    // The title covers the screen, each tile its own part (green 60 a column + 20 a row), above the ship.
    {&World::renderMenu, 0, 0, 1, 1, [](auto p) { return p[0] > 200 && p[1] < 160; }, 0.97},
    {&World::renderMenu, 0.45, 0.6, 0.75, 0.95, tile<60>, 0.95},
    {&World::renderMenu, 0.85, 0.6, 0.99, 0.95, tile<120>, 0.95},
    {&World::renderMenu, 0.05, 0.3, 0.35, 0.42, tile<20>, 0.95},
    // Floor, sky, the panel's corner and, without a ship, the game-over picture in the upper middle.
    {&World::renderPlay, 0.05, 0.02, 0.95, 0.35, floorGreen, 0.95},
    {&World::renderPlay, 0.0, 0.8, 0.6, 1.0, dark, 0.97},
    {&World::renderPlay, 0.81, 0.95, 0.97, 0.975,
     [](auto p) { return p[0] > 180 && p[2] > 180 && p[1] < 80; }, 0.9},
    {&World::renderPlay, 0.3, 0.62, 0.7, 0.72, [](auto p) { return p[0] > 200 && p[1] > 200 && p[2] < 60; },
     0.9},
    // Along the floor's edge: floor and border below, the sky above and beside it (x beyond 12.5).
    {&World::renderPanelScene, 0, 0, 1, 0.25,
     [](auto p) { return floorGreen(p) || (p[2] > 80 && p[2] > p[0] + 30); }, 0.9},
    {&World::renderPanelScene, 0.0, 0.75, 1.0, 1.0, dark, 0.97},
    {&World::renderPanelScene, 0.0, 0.3, 0.15, 0.45, dark, 0.9},
    {&World::renderCreditsScene, 0.1, 0.0, 0.9, 0.3, floorGreen, 0.9},
};

GLfloat parameter(unsigned int name, GLenum which) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLfloat value = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, which, &value);
    return value;
}

bool among(const char* file, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (std::string(file).starts_with(std::string("textures/") + p))
            return true;
    return false;
}

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override { start(1024, 768); }
    // (Re)opens the scene at a size, the title picture written at its own size.
    void start(int width, int height, QSize title = {640, 480}) {
        if (!scene.open(width, height, title))
            GTEST_SKIP() << "needs an X display";
    }
    // The mean of one channel over a rectangle of unit coordinates (y up).
    double mean(int channel, double x0, double y0, double x1, double y1) const {
        double sum = 0, n = 0;
        scene.share(x0, y0, x1, y1, [&](auto p) { return sum += p[channel], ++n; });
        return sum / n;
    }
    // Draws the pass twice: the second frame sees the state the first one left, as in the game.
    void frame(void (World::*pass)()) {
        (scene.world->*pass)();
        scene.draw(pass);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    GameScene scene;
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

TEST_F(DrawTest, PassesPutTheirPartsInPlace) {
    scene.world->scenePhase = 1.0f;
    for (const Area& a : areas) {
        SCOPED_TRACE(&a - areas);
        frame(a.pass);
        EXPECT_GT(scene.share(a.x0, a.y0, a.x1, a.y1, a.test), a.least);
    }
    // The credits leave the state the screens over them expect.
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(std::tuple(func, glIsEnabled(GL_BLEND), glIsEnabled(GL_LIGHTING)),
              std::tuple(GL_LEQUAL, GL_TRUE, GL_FALSE));
}

// The light map: 0.55 green tile + 0.45 white map x vertex colour shows red and blue; without, none. More
// stars light the sky at each level.
TEST_F(DrawTest, DetailsChooseTheFloorAndTheStars) {
    double stars = 0;
    for (auto [details, lightMap] : {std::pair{0, false}, {1, true}, {2, true}}) {
        SCOPED_TRACE(details);
        scene.engine->details = details;
        frame(&World::renderPlay);
        const double red = mean(0, 0.1, 0.02, 0.9, 0.3), blue = mean(2, 0.1, 0.02, 0.9, 0.3);
        EXPECT_TRUE(lightMap ? red > 30 && blue > 30 : red < 3 && blue < 3) << red << ", " << blue;
        EXPECT_GT(mean(1, 0.1, 0.02, 0.9, 0.3), 80);
        const double lit = scene.share(0, 0.8, 0.6, 1, [](auto p) { return p[0] > 40; });
        EXPECT_GT(lit, 1.2 * stars);
        stars = lit;
    }
}

// The top camera looks down on the floor, the chase camera over it to the sky; a wide window is not
// stretched: measured against the height, the floor (10.5 units to each side) keeps its width.
TEST_F(DrawTest, CamerasFrameTheFloor) {
    auto floorWidth = [this] {
        return scene.share(0, 0.1, 1, 0.102, floorGreen) * scene.width / scene.height;
    };
    double width = 0;
    for (int mode : {1, 2, 1}) {
        scene.engine->cameraMode = mode;
        frame(&World::renderPlay);
        EXPECT_GT(scene.share(0.1, 0.8, 0.3, 0.95, mode == 2 ? floorGreen : dark), 0.95) << mode;
        EXPECT_GT(scene.share(0.1, 0.05, 0.9, 0.5, floorGreen), mode == 2 ? 0.95 : 0.5) << mode;
        width = mode == 2 ? floorWidth() : width;
    }
    start(1280, 720);
    scene.engine->cameraMode = 2;
    frame(&World::renderPlay);
    EXPECT_NEAR(floorWidth(), width, 0.02);
}

// Stencil shadows: only floor pixels darken, and each only once however many shadows cover it.
TEST_F(DrawTest, ShadowsDarkenTheFloorOnce) {
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

// Every file gets names of its own; only the border strip is clamped (its picture does not repeat across
// the floor's edge); the filter option reaches the large surfaces seen at a slant or minified while the
// models keep trilinear; the anisotropy option sharpens the floor, its light maps and the border, and the
// font keeps the most from its load.
TEST_F(DrawTest, TextureTableSetsEveryTexture) {
    Engine* e = scene.engine;
    std::set<unsigned int> names;
    int count = 0;
    for (const TextureFile& f : e->textureFiles()) {
        SCOPED_TRACE(f.file);
        for (int k = 0; k < f.tiles; ++k, ++count) {
            names.insert(f.names[k]);
            EXPECT_EQ(glIsTexture(f.names[k]), GL_TRUE);
            const GLfloat wrap = f.names == &e->texBorder ? GL_CLAMP_TO_EDGE : GL_REPEAT;
            EXPECT_EQ(parameter(f.names[k], GL_TEXTURE_WRAP_S), wrap);
            EXPECT_EQ(parameter(f.names[k], GL_TEXTURE_WRAP_T), wrap);
        }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(count));
    EXPECT_EQ(count, 47); // 42 files, the title in six tiles
    // Options 0 to 2, then back to 0; an unknown option changes nothing.
    for (auto [option, mag, min] : {std::tuple{0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                                    {1, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
                                    {2, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
                                    {0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                                    {3, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                                    {-1, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST}}) {
        e->applyFilterOption(option);
        for (const TextureFile& f : e->textureFiles()) {
            const bool follows = among(f.file, {"floor", "border", "mark", "tache", "fumee", "space"});
            EXPECT_EQ(parameter(f.names[0], GL_TEXTURE_MAG_FILTER), follows ? mag : GL_LINEAR)
                << option << f.file;
            EXPECT_EQ(parameter(f.names[0], GL_TEXTURE_MIN_FILTER), follows ? min : GL_LINEAR_MIPMAP_LINEAR)
                << option << f.file;
        }
    }
    // The options go to at most 8, however much the driver offers.
    GLfloat driverMost = 0;
    if (hasExtension("GL_EXT_texture_filter_anisotropic"))
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &driverMost);
    EXPECT_FLOAT_EQ(e->maxAnisotropy, std::min(driverMost, 8.0f));
    for (int level : {2, 4, 0, 1}) {
        applyAnisotropy(level);
        for (const TextureFile& f : e->maxAnisotropy > 0 ? e->textureFiles() : std::vector<TextureFile>()) {
            const float expected = among(f.file, {"floor", "border"}) ? std::max(level, 1)
                                   : f.names == &e->texChars          ? e->maxAnisotropy
                                                                      : 1.0f;
            EXPECT_FLOAT_EQ(parameter(f.names[0], GL_TEXTURE_MAX_ANISOTROPY_EXT), expected)
                << level << f.file;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A scene drawn at half the window's size per side still fills the frame, softer, whether the window's
// painter or GL scales it up; the head-up display over it keeps the window's own pixels, the same as over
// a full-size scene.
TEST_F(DrawTest, AHalfSizeSceneFillsTheFrameUnderAFullSizeHud) {
    RenderScale& scale = scene.engine->renderScale;
    const int w = scene.width, h = scene.height;
    scene.world->toggleShowFps();
    scene.world->starCount = 0; // a black sky under the frame rate's soft edges
    // Pixels of a rectangle in unit coordinates, y down, that pass a test.
    const auto count = [&](double x0, double y0, double x1, double y1, auto test) {
        int n = 0;
        for (int y = static_cast<int>(y0 * h); y < static_cast<int>(y1 * h); ++y)
            for (int x = static_cast<int>(x0 * w); x < static_cast<int>(x1 * w); ++x)
                n += test(x, y) ? 1 : 0;
        return n;
    };
    for (sdlq::Present mode : {sdlq::Present::ReadBack, sdlq::Present::Blit}) {
        SCOPED_TRACE(mode == sdlq::Present::Blit ? "blit" : "read back");
        sdlq::setPresentMode(mode);
        scale.setMode(RenderScale::Mode::Auto);
        frame(&World::renderPlay);
        const QImage full = GameSurface::instance()->finishedFrame();
        for (int k = 0; k < 24; ++k) // a third of a second far over the budget
            scale.frameDone(100.0);
        ASSERT_EQ(scale.percent(), 50);
        frame(&World::renderPlay);
        const QImage half = GameSurface::instance()->finishedFrame();
        ASSERT_EQ(half.size(), QSize(w, h));
        const auto changed = [&](int x, int y) { return full.pixel(x, y) != half.pixel(x, y); };
        const auto green = [&](int x, int y) {
            const QRgb p = half.pixel(x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(qRed(p)),
                                          static_cast<unsigned char>(qGreen(p)),
                                          static_cast<unsigned char>(qBlue(p))};
            return floorGreen(rgb);
        };
        // The panel, the frame rate and the game-over picture.
        for (auto [x0, y0, x1, y1] :
             {std::array{0.81, 0.03, 0.97, 0.19}, {0.0, 0.0, 0.3, 0.08}, {0.3, 0.28, 0.7, 0.38}})
            EXPECT_EQ(count(x0, y0, x1, y1, changed), 0) << x0 << ", " << y0;
        EXPECT_GT(count(0.05, 0.65, 0.95, 0.98, changed), w * h / 200) << "the floor, softer";
        EXPECT_GT(count(0.05, 0.65, 0.95, 0.98, green), 0.95 * 0.9 * 0.33 * w * h) << "the floor";
    }
    sdlq::setPresentMode(sdlq::Present::ReadBack);
}

// Over a scaled scene, a frame whose display shows the same keeps the last one's pictures of it and leaves
// its own pixels there alone; whatever the display shows that changes draws it anew.
TEST_F(DrawTest, AScaledFrameKeepsAnUnchangedDisplayAndRedrawsAChangedOne) {
    start(800, 600, QSize()); // the game's own panel, with the gauge showing through it
    RenderScale& scale = scene.engine->renderScale;
    scale.setMode(RenderScale::Mode::Auto);
    for (int k = 0; k < 24; ++k)
        scale.frameDone(100.0);
    ASSERT_LT(scale.percent(), 100);
    MyShip ship{scene.world->sprites, 100};
    scene.engine->ship = &ship;
    GameSurface* surface = GameSurface::instance();
    const QRect corner(0.8 * scene.width, 0.02 * scene.height, 0.18 * scene.width, 0.18 * scene.height);
    std::vector<unsigned char> held(static_cast<size_t>(scene.width) * scene.height * 4);
    const auto shown = [&] {
        surface->makeCurrent();
        // The frame's own pixels painted red: a display drawn anew covers them.
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
        scene.draw(&World::renderPlay);
        glBindTexture(GL_TEXTURE_2D, surface->frameTexture());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, held.data());
        return surface->finishedFrame().copy(corner);
    };
    const auto redrawn = [&] {
        const unsigned char* p =
            &held[((scene.height - corner.center().y()) * scene.width + corner.center().x()) * 4];
        return !(p[0] == 255 && p[1] == 0 && p[2] == 0);
    };
    QImage last = shown();
    const struct {
        const char* what;
        std::function<void()> change;
    } rows[] = {
        {"nothing", [] {}},
        {"energy", [&] { ship.energy -= 30; }},
        {"score", [&] { ship.score += 1000; }},
        {"bombs", [&] { ship.bombs += 1; }},
        {"nothing again", [] {}},
    };
    for (const auto& [what, change] : rows) {
        change();
        const QImage now = shown();
        const bool same = std::string(what).starts_with("nothing");
        EXPECT_EQ(now == last, same) << what;
        EXPECT_EQ(redrawn(), !same) << what;
        last = now;
    }
    scene.engine->ship = nullptr;
}

// A piece of debris lies, and is lit, where glTranslatef and glRotatef about its axis (vz, vx, vy) would
// put it: the pieces are placed on the CPU to reach the driver in one batch. An axis of no length leaves
// it unturned, as GL does; a short one still turns it.
TEST_F(DrawTest, DebrisLiesAndIsLitWhereGlWouldTurnAndMoveIt) {
    MyShip ship{scene.world->sprites, 100};
    Explosion blast(&ship, 1, false, false);
    PieceOfShip piece(&blast, 1);
    std::vector<GLfloat> feedback(64);
    const auto corners = [&](auto draw) {
        glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D_COLOR, feedback.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        return std::vector<GLfloat>(feedback.begin(), feedback.begin() + glRenderMode(GL_RENDER));
    };
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    for (auto [angle, vx, vy, vz] :
         {std::array{0.0f, 0.0f, 0.0f, 0.0f}, {90, 1, 0, 0}, {-37, 0.3f, -2, 0.5f}, {200, 0, 0, 1e-5f}}) {
        piece.particles[0] = {0.5f, 0.25f, -1, vx,    vy, vz, 1,
                              0.1f, 0.2f,  1,  angle, 0,  1,  PieceOfShip::Flying};
        const auto placed = corners([&] { piece.drawShadow(); });
        const auto gl = corners([&] {
            glDisable(GL_CULL_FACE);
            glPushMatrix();
            glTranslatef(0.5f, 0.25f, -1);
            glRotatef(angle, vz, vx, vy);
            glBegin(GL_TRIANGLES);
            glNormal3f(0, 0, 1);
            for (auto [x, y] : {std::pair{0.3f, 0.6f}, {-0.3f, 0.6f}, {0.0f, -0.6f}})
                glVertex3f(x, y, 0);
            glEnd();
            glPopMatrix();
            glEnable(GL_CULL_FACE);
        });
        ASSERT_EQ(placed.size(), gl.size()) << angle;
        ASSERT_GT(gl.size(), 20u) << "a triangle with its three corners";
        for (size_t k = 0; k < gl.size(); ++k)
            EXPECT_NEAR(placed[k], gl[k], 1e-3) << angle << ", value " << k;
    }
    glDisable(GL_LIGHTING);
}

// Each of the six tiles (three columns, two rows of 256) holds the picture where it lies inside,
// transparent black beyond, whatever the picture's size.
TEST_F(DrawTest, TitleIsCutIntoSixTiles) {
    std::vector<QRgb> texels(256 * 256);
    for (QSize size : {QSize(640, 480), QSize(900, 600), QSize(1, 1)}) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        start(1024, 768, size);
        for (int k = 0; k < 6; ++k) {
            glBindTexture(GL_TEXTURE_2D, scene.engine->texTitle[k]);
            GLint side = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &side);
            ASSERT_EQ(side, 256); // square: the engine uploads whole tiles
            glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
            int wrong = 0;
            for (int y = 0, px = 256 * (k % 3), py = 256 * (k / 3); y < 256; ++y)
                for (int x = 0; x < 256; ++x)
                    wrong += texels[y * 256 + x] !=
                             (px + x < size.width() && py + y < size.height()
                                  ? qRgb(255, 60 * (k % 3) + 20 * (k / 3), ((px + x) * 7 + (py + y) * 3) % 64)
                                  : 0);
            EXPECT_EQ(wrong, 0) << "tile " << k;
        }
    }
}

} // namespace
