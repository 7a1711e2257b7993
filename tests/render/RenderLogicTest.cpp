// Renderer logic that needs no GL: extension matching, the floor ring, stars, floor light, font cells,
// the head-up display's texts and the camera.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "player/MyShip.h"
#include "render/Camera.h"
#include "render/GLSetup.h"
#include "render/Hud.h"
#include "render/SkyFloor.h"
#include "render/Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

TEST(HasExtension, MatchesWholeWordsOnly) {
    struct Case {
        const char* name;
        const char* extensions;
        bool expected;
    };
    const Case cases[] = {
        {"GL_A", "GL_A GL_B", true},
        {"GL_B", "GL_A GL_B", true},
        {"GL_B", "GL_A GL_B GL_C", true},
        {"GL_A", "GL_A", true},
        {"GL_ARB_texture_env_combine", "GL_ARB_texture_env_combine_ex GL_X", false},
        {"GL_ARB_texture_env_combine", "GL_ARB_texture_env_combine_ex GL_ARB_texture_env_combine", true},
        {"combine", "GL_ARB_texture_env_combine", false},
        {"GL_B", "GL_AGL_B GL_BX", false},
        {"GL_B", "GL_AGL_B GL_BX GL_B ", true},
        {"", "GL_A", false},
        {"GL_A GL_B", "GL_A GL_B", false},
        {"GL_A", "", false},
        {"GL_A", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in " + (c.extensions ? c.extensions : "(null)"));
        EXPECT_EQ(hasExtension(c.name, c.extensions), c.expected);
    }
}

class RenderLogic : public ::testing::Test {
protected:
    void SetUp() override {
        Engine::createHeadless();
        std::srand(7);
        world = new World();
        ship.x = 4;
        ship.z = 10;
    }
    void TearDown() override {
        delete world;
        Engine::discard();
    }
    World* world = nullptr;
    ListSprite list;
    MyShip ship{&list, 100};
};

TEST_F(RenderLogic, FloorRingRecyclesThePassedRowWithNewTiles) {
    // Mark every cell so that any change shows; rand() % 5 never gives 9.
    for (int i = 0; i < 90; ++i)
        world->floorVariant[i] = world->floorMapVariant[i] = 9;
    EXPECT_FALSE(scrollFloor(world, 3.0f)); // 0.1 unit a tick, 5 units a row
    EXPECT_FALSE(scrollFloor(world, 0.0f));
    EXPECT_NEAR(world->floorScroll, 0.3f, 1e-5);
    world->floorRow = 4;
    world->floorScroll = 4.99f;
    EXPECT_TRUE(scrollFloor(world, 10.0f));
    EXPECT_NEAR(world->floorScroll, 0.99f, 1e-4);
    EXPECT_EQ(world->floorRow, 5);
    for (int i = 0; i < 90; ++i) {
        SCOPED_TRACE(i);
        const bool recycled = i / 6 == 4;
        EXPECT_EQ(world->floorVariant[i] != 9, recycled);
        EXPECT_EQ(world->floorMapVariant[i] != 9, recycled);
        EXPECT_LT(world->floorVariant[i], recycled ? 5 : 10);
        EXPECT_GE(world->floorVariant[i], 0);
    }
    world->floorRow = 14;
    world->floorScroll = 4.95f;
    EXPECT_TRUE(scrollFloor(world, 1.0f));
    EXPECT_EQ(world->floorRow, 0); // the ring wraps after its last row
    for (int i = 0; i < 2000; ++i) {
        scrollFloor(world, 7.3f);
        ASSERT_GE(world->floorScroll, 0.0f);
        ASSERT_LT(world->floorScroll, 5.0f);
        ASSERT_GE(world->floorRow, 0);
        ASSERT_LT(world->floorRow, 15);
    }
}

TEST(Stars, ThirdHalfOrAllByDetails) {
    for (auto [details, shown] : {std::pair{-1, 100}, {0, 100}, {1, 150}, {2, 300}, {3, 300}})
        EXPECT_EQ(visibleStars(300, details), shown) << details;
}

TEST_F(RenderLogic, FloorLightPointsFromTheShipOrTheFieldsCentre) {
    struct Case {
        bool withShip;
        float x, z;
        float r, g, b;
    };
    // A unit direction from the light's centre, half scaled around grey: straight up is (0.5, 0.5, 1).
    const Case cases[] = {
        {false, 0, 23, 0.5f, 0.5f, 1.0f},          {false, 2, 23, 0.8536f, 0.5f, 0.8536f},
        {true, 4, 10, 0.5f, 0.5f, 1.0f},           {true, 4, 12, 0.5f, 0.1464f, 0.8536f},
        {true, 4 - 2, 10, 0.1464f, 0.5f, 0.8536f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.z));
        Engine::instance()->ship = c.withShip ? &ship : nullptr;
        const float* colour = floorLightColor(c.x, 0, c.z);
        EXPECT_NEAR(colour[0], c.r, 1e-4);
        EXPECT_NEAR(colour[1], c.g, 1e-4);
        EXPECT_NEAR(colour[2], c.b, 1e-4);
    }
    Engine::instance()->ship = nullptr;
}

TEST(FontCells, LettersDigitsAndPunctuation) {
    struct Case {
        char ch;
        bool known;
        int column, row;
        bool mirrored;
    };
    const Case cases[] = {
        {'A', true, 0, 0, false},  {'Z', true, 25, 0, false}, {'a', true, 0, 1, false},
        {'z', true, 25, 1, false}, {'0', true, 0, 2, false},  {'9', true, 9, 2, false},
        {':', true, 12, 2, true},  {'!', true, 13, 2, true},  {'.', true, 15, 2, true},
        {'/', true, 16, 2, true},  {'+', false, 0, 0, false}, {'?', false, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ch);
        int column = -1, row = -1;
        bool mirrored = false;
        ASSERT_EQ(fontCell(c.ch, &column, &row, &mirrored), c.known);
        if (c.known) {
            EXPECT_EQ(column, c.column);
            EXPECT_EQ(row, c.row);
            EXPECT_EQ(mirrored, c.mirrored);
        }
    }
}

TEST_F(RenderLogic, HudTextsFollowTheShipAndKeepTheLastScore) {
    resetHudTexts();
    struct Case {
        int score, bombs;
        const char* scoreText;
        const char* bombsText;
    };
    const Case cases[] = {
        {0, 5, "00000000", "X 5"},          {1234, 0, "00001234", "X 0"},
        {99999999, 12, "99999999", "X 12"}, {123456789, 3, "123456789", "X 3"},
        {INT_MAX, 1, "2147483647", "X 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scoreText);
        ship.score = c.score;
        ship.bombs = c.bombs;
        updateHudTexts(world, &ship);
        EXPECT_EQ(world->score, c.score);
        EXPECT_STREQ(scoreText(), c.scoreText);
        EXPECT_STREQ(bombsText(), c.bombsText);
    }
    // Without a ship the last values stay for the high-score check.
    updateHudTexts(world, nullptr);
    EXPECT_EQ(world->score, INT_MAX);
    EXPECT_STREQ(scoreText(), "2147483647");
}

TEST_F(RenderLogic, CameraFollowsTheShipThenGlidesBackToTheCentre) {
    ship.vx = 0.25f;
    trackCamera(&ship);
    EXPECT_FLOAT_EQ(camX, 4);
    EXPECT_FLOAT_EQ(camZ, 10);
    EXPECT_FLOAT_EQ(camRoll, 0.25f);
    // Lost: 0.02 units a frame towards x 0 and depth 12, the roll kept.
    camX = 1.0f;
    camZ = 11.95f;
    trackCamera(nullptr);
    EXPECT_NEAR(camX, 0.98f, 1e-6);
    EXPECT_NEAR(camZ, 11.97f, 1e-5);
    for (int i = 0; i < 100; ++i)
        trackCamera(nullptr);
    EXPECT_FLOAT_EQ(camX, 0.0f);
    EXPECT_GE(camZ, 12.0f);
    EXPECT_LT(camZ, 12.03f);
    EXPECT_FLOAT_EQ(camRoll, 0.25f);
    camX = -0.5f;
    for (int i = 0; i < 30; ++i)
        trackCamera(nullptr);
    EXPECT_FLOAT_EQ(camX, 0.0f);
}

TEST(CameraAspect, FollowsTheWindowFromItsFourByThreeDesign) {
    struct Case {
        double design;
        int width, height;
        double aspect;
    };
    const Case cases[] = {{1.333333, 1024, 768, 1.333333},
                          {0.8, 1024, 768, 0.8},
                          {1.333333, 1920, 1080, 1.777777},
                          {0.8, 1280, 720, 1.066667},
                          {1.333333, 0, 0, 1.333333}};
    for (const Case& c : cases)
        EXPECT_NEAR(aspectFor(c.design, c.width, c.height), c.aspect, 1e-6) << c.width << " x " << c.height;
}
