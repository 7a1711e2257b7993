// Renderer logic that needs no GL: extension matching, the floor ring, stars, font cells,
// the head-up display's texts and the camera.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "platform/ScaleUpTwice.h"
#include "player/MyShip.h"
#include "render/Camera.h"
#include "render/GLSetup.h"
#include "render/Hud.h"
#include "render/RenderScale.h"
#include "render/SkyFloor.h"
#include "render/Text.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>

namespace {

// Whole words only: at the start, the end, the middle, or after a longer word that begins the same.
TEST(RenderLogic, ExtensionsMatchAsWholeWords) {
    for (auto [name, list, found] : {std::tuple{"GL_A", "GL_A GL_B", true},
                                     {"GL_B", "GL_A GL_B", true},
                                     {"_B", "GL_B", false},
                                     {"GL_B", "GL_BX GL_C", false},
                                     {"GL_B", "GL_AGL_B GL_BX GL_B ", true},
                                     {"", "GL_A", false},
                                     {"GL_A GL_B", "GL_A GL_B", false},
                                     {"GL_A", nullptr, false}})
        EXPECT_EQ(hasExtension(name, list), found) << name << " in " << (list ? list : "(null)");
}

TEST(RenderLogic, StarsShownByDetails) {
    for (auto [details, shown] : {std::pair{-1, 100}, {0, 100}, {1, 150}, {2, 300}, {3, 300}})
        EXPECT_EQ(visibleStars(300, details), shown) << details;
}

// Column and row of the font grid; punctuation is stored mirrored; the font lacks "+" and "?".
TEST(RenderLogic, FontCellsOfLettersDigitsAndPunctuation) {
    for (auto [ch, column, row, mirrored] : {std::tuple{'A', 0, 0, false},
                                             {'z', 25, 1, false},
                                             {'a', 0, 1, false},
                                             {'9', 9, 2, false},
                                             {':', 12, 2, true},
                                             {'!', 13, 2, true},
                                             {'.', 15, 2, true},
                                             {'/', 16, 2, true},
                                             {'%', 17, 2, true},
                                             {'?', -1, -1, false}}) {
        int c = -1, r = -1;
        bool m = false;
        EXPECT_EQ(fontCell(ch, &c, &r, &m), column >= 0) << ch;
        EXPECT_EQ(std::tuple(c, r, m), std::tuple(column, row, mirrored)) << ch;
    }
}

TEST(RenderLogic, AspectFollowsTheWindowFromTheFourByThreeDesign) {
    for (auto [design, width, height, aspect] : {std::tuple{0.8, 1024, 768, 0.8},
                                                 {1.333333, 1920, 1080, 1.777777},
                                                 {0.8, 1280, 720, 1.066667},
                                                 {1.333333, 0, 768, 1.333333},
                                                 {1.333333, 1024, 0, 1.333333}})
        EXPECT_NEAR(aspectFor(design, width, height), aspect, 1e-6) << width << " x " << height;
}

// The scales a controller passes through over a number of frames, given each frame's work time at a scale.
std::vector<int> scalesOver(RenderScale& scale, int frames, const std::function<double(int, int)>& workMs) {
    std::vector<int> seen{scale.percent()};
    for (int i = 0; i < frames; ++i)
        if (scale.frameDone(workMs(scale.percent(), i)))
            seen.push_back(scale.percent());
    return seen;
}

// A frame that costs a fixed time plus a fill time that follows the scene's area, with some jitter: the
// scale steps down straight to the largest size that fits the 12 ms budget and stays there. A budget met
// (to the edge) keeps the window's size; 100 % keeps it whatever the cost.
TEST(RenderLogic, RenderScaleSettlesOnTheLargestSizeThatFits) {
    // clang-format off
    for (auto [mode, fixedMs, fillMs, jitterMs, seen] : {
             std::tuple{RenderScale::Mode::Auto, 2.0, 8.0, 1.0, std::vector{100}},
             {RenderScale::Mode::Auto, 0.0, 12.0, 0.0, std::vector{100}},
             {RenderScale::Mode::Auto, 0.0, 12.01, 0.0, std::vector{100, 90}},
             {RenderScale::Mode::Auto, 0.5, 11.7, 0.5, std::vector{100, 90}},
             {RenderScale::Mode::Auto, 2.0, 25.0, 2.0, std::vector{100, 60}},
             {RenderScale::Mode::Auto, 1.0, 60.0, 0.0, std::vector{100, 50}},
             {RenderScale::Mode::Full, 1.0, 60.0, 0.0, std::vector{100}}}) {
        // clang-format on
        RenderScale scale;
        scale.setMode(mode);
        EXPECT_EQ(scalesOver(scale, 20000,
                             [&](int percent, int i) {
                                 return fixedMs + fillMs * percent * percent / 1e4 +
                                        (i % 2 ? jitterMs : -jitterMs);
                             }),
                  seen)
            << fixedMs << " + " << fillMs << " ms";
    }
}

// A busy stretch steps down and the calm after it steps back up to the window's size. A frame that costs
// more at the larger size than its area says makes each retry wait twice as long as the last.
// A doubled picture is the one a GPU's linear filtering gives, within two levels: three quarters of the
// nearest pixel and a quarter of its neighbour on each axis, the edges clamped; odd sizes too.
TEST(RenderLogic, APictureDoublesAsLinearFilteringStretchesIt) {
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {9, 5}, {16, 3}}) {
        QImage from(w, h, QImage::Format_RGB32);
        unsigned seed = w * 31 + h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                from.setPixel(x, y, 0xff000000u | ((seed = seed * 1103515245u + 12345u) >> 8));
        QImage into;
        if (!scaleUpTwice(from, into))
            GTEST_SKIP() << "no fast path in this build";
        ASSERT_EQ(into.size(), QSize(2 * w, 2 * h));
        int worst = 0;
        for (int y = 0; y < 2 * h; ++y)
            for (int x = 0; x < 2 * w; ++x)
                for (int shift : {0, 8, 16}) {
                    const auto at = [&](int i, int j) {
                        return static_cast<int>(
                            from.pixel(std::clamp(i, 0, w - 1), std::clamp(j, 0, h - 1)) >> shift & 255);
                    };
                    const int i = x / 2, j = y / 2, di = x % 2 ? 1 : -1, dj = y % 2 ? 1 : -1;
                    const double exact = 0.5625 * at(i, j) + 0.1875 * (at(i + di, j) + at(i, j + dj)) +
                                         0.0625 * at(i + di, j + dj);
                    worst = std::max(
                        worst, static_cast<int>(std::abs(exact - (into.pixel(x, y) >> shift & 255)) + 0.5));
                }
        EXPECT_LE(worst, 2) << w << " x " << h;
    }
}

TEST(RenderLogic, RenderScaleRisesWhenTheLoadFallsAndBacksOffARiseThatFails) {
    RenderScale scale;
    scale.setMode(RenderScale::Mode::Auto);
    EXPECT_EQ(
        scalesOver(scale, 4000,
                   [](int percent, int i) { return (i < 2000 ? 20.0 : 5.0) * percent * percent / 1e4; }),
        (std::vector{100, 70, 80, 90, 100}));
    scale.setMode(RenderScale::Mode::Auto);
    const std::vector seen =
        scalesOver(scale, 20000, [](int percent, int) { return percent > 80 ? 14.0 : 6.0; });
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(std::vector(seen.begin(), seen.begin() + 5), (std::vector{100, 90, 80, 90, 80}));
    EXPECT_LE(seen.size(), 20u) << "pumping";
    EXPECT_EQ(scale.percent(), 80);
}

class WorldLogic : public ::testing::Test {
protected:
    void SetUp() override {
        std::srand(7);
        ship.x = 4;
        ship.z = 10;
    }
    void TearDown() override { Engine::discard(); }
    Engine* engine = Engine::createHeadless(); // before the ship, which greets the player
    World world;
    ListSprite list;
    MyShip ship{&list, 100};
};

TEST_F(WorldLogic, FloorRingRecyclesThePassedRowWithNewTiles) {
    // Every cell marked, so that any change shows; rand() % 5 never gives 9.
    std::fill_n(world.floorVariant, 90, 9);
    std::fill_n(world.floorMapVariant, 90, 9);
    EXPECT_FALSE(scrollFloor(&world, 3.0f)); // 0.1 unit a tick, 5 units a row
    EXPECT_NEAR(world.floorScroll, 0.3f, 1e-5);
    world.floorRow = 4;
    world.floorScroll = 4.99f;
    EXPECT_TRUE(scrollFloor(&world, 10.0f));
    EXPECT_NEAR(world.floorScroll, 0.99f, 1e-4);
    EXPECT_EQ(world.floorRow, 5);
    for (int i = 0; i < 90; ++i) {
        EXPECT_EQ(world.floorVariant[i] >= 0 && world.floorVariant[i] < 5, i / 6 == 4) << i;
        EXPECT_EQ(world.floorMapVariant[i] < 5, i / 6 == 4) << i;
    }
    world.floorRow = 14;
    world.floorScroll = 4.95f;
    EXPECT_TRUE(scrollFloor(&world, 1.0f));
    EXPECT_EQ(world.floorRow, 0); // the ring wraps after its last row
}

TEST_F(WorldLogic, HudTextsFollowTheShipAndKeepTheLastScore) {
    resetHudTexts();
    for (auto [score, bombs, scoreText, bombsText] : {std::tuple{0, 0, "00000000", "X 0"},
                                                      {99999999, 12, "99999999", "X 12"},
                                                      {123456789, 3, "123456789", "X 3"},
                                                      {INT_MAX, 1, "2147483647", "X 1"}}) {
        ship.score = score;
        ship.bombs = bombs;
        updateHudTexts(&world, &ship);
        EXPECT_EQ(std::tuple(world.score, std::string(::scoreText()), std::string(::bombsText())),
                  std::tuple(score, scoreText, bombsText));
    }
    // Without a ship the last values stay for the high-score check.
    updateHudTexts(&world, nullptr);
    EXPECT_EQ(std::tuple(world.score, std::string(scoreText())), std::tuple(INT_MAX, "2147483647"));
}

TEST_F(WorldLogic, CameraFollowsTheShipThenGlidesBackToTheCentre) {
    ship.vx = 0.25f;
    trackCamera(&ship);
    EXPECT_EQ(std::tuple(camX, camZ, camRoll), std::tuple(4.0f, 10.0f, 0.25f));
    // Lost: 0.02 units a frame towards x 0 and depth 12, the roll kept.
    for (float from : {1.0f, -1.0f}) {
        std::tie(camX, camZ) = std::tuple(from, 11.95f);
        trackCamera(nullptr);
        EXPECT_NEAR(camX, 0.98f * from, 1e-6);
        EXPECT_NEAR(camZ, 11.97f, 1e-5);
        for (int i = 0; i < 100; ++i)
            trackCamera(nullptr);
        EXPECT_EQ(std::tuple(camX, camRoll), std::tuple(0.0f, 0.25f));
        EXPECT_TRUE(camZ >= 12.0f && camZ < 12.03f) << camZ;
    }
}

} // namespace
