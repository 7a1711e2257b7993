// Renderer logic that needs no GL: extension matching, the floor ring, stars, texts, camera tracking.
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
#include <cmath>
#include <cstdlib>
#include <cstring>

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

class FloorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Engine::createHeadless();
        std::srand(7);
        world = new World();
    }
    void TearDown() override {
        delete world;
        Engine::discard();
    }
    World* world = nullptr;
};

TEST_F(FloorTest, ScrollBelowARowChangesNothingElse) {
    int variants[90];
    std::memcpy(variants, world->floorVariant, sizeof variants);
    EXPECT_FALSE(scrollFloor(world, 3.0f));
    EXPECT_NEAR(world->floorScroll, 0.3f, 1e-5);
    EXPECT_EQ(world->floorRow, 0);
    EXPECT_EQ(std::memcmp(variants, world->floorVariant, sizeof variants), 0);
    EXPECT_FALSE(scrollFloor(world, 0.0f));
    EXPECT_NEAR(world->floorScroll, 0.3f, 1e-5);
}

TEST_F(FloorTest, APassedRowComesBackAtTheFarEndWithNewTiles) {
    world->floorRow = 4;
    world->floorScroll = 4.99f;
    // Mark every cell so that any change shows; rand() % 5 never gives 9.
    for (int i = 0; i < 90; ++i)
        world->floorVariant[i] = world->floorMapVariant[i] = 9;
    EXPECT_TRUE(scrollFloor(world, 10.0f));
    EXPECT_NEAR(world->floorScroll, 0.99f, 1e-4);
    EXPECT_EQ(world->floorRow, 5);
    for (int i = 0; i < 90; ++i) {
        const bool recycled = i / 6 == 4;
        SCOPED_TRACE(i);
        EXPECT_EQ(world->floorVariant[i] != 9, recycled);
        EXPECT_EQ(world->floorMapVariant[i] != 9, recycled);
        if (recycled) {
            EXPECT_GE(world->floorVariant[i], 0);
            EXPECT_LT(world->floorVariant[i], 5);
        }
    }
}

TEST_F(FloorTest, RingWrapsAfterTheLastRow) {
    world->floorRow = 14;
    world->floorScroll = 4.95f;
    EXPECT_TRUE(scrollFloor(world, 1.0f));
    EXPECT_EQ(world->floorRow, 0);
    // A long run: the scroll stays within a row and the ring within its rows.
    for (int i = 0; i < 2000; ++i) {
        scrollFloor(world, 7.3f);
        ASSERT_GE(world->floorScroll, 0.0f);
        ASSERT_LT(world->floorScroll, 5.0f);
        ASSERT_GE(world->floorRow, 0);
        ASSERT_LT(world->floorRow, 15);
    }
}

TEST(Stars, ThirdHalfOrAllByDetails) {
    EXPECT_EQ(visibleStars(300, 0), 100);
    EXPECT_EQ(visibleStars(300, 1), 150);
    EXPECT_EQ(visibleStars(300, 2), 300);
    EXPECT_EQ(visibleStars(300, 3), 300);
    EXPECT_EQ(visibleStars(300, -1), 100);
}

TEST_F(FloorTest, FloorLightCentresOnTheShipOrTheFieldWithoutOne) {
    const float* c = floorLightColor(0, 0, 23);
    EXPECT_FLOAT_EQ(c[0], 0.5f);
    EXPECT_FLOAT_EQ(c[1], 0.5f);
    EXPECT_FLOAT_EQ(c[2], 1.0f);
    c = floorLightColor(2, 0, 23);
    EXPECT_NEAR(c[0], 0.5f + 0.5f * 2 / std::sqrt(8.0f), 1e-6);
    EXPECT_NEAR(c[2], 0.5f + 0.5f * 2 / std::sqrt(8.0f), 1e-6);

    ListSprite list;
    MyShip ship(&list, 100);
    ship.x = 4;
    ship.z = 10;
    Engine::instance()->ship = &ship;
    c = floorLightColor(4, 0, 10);
    EXPECT_FLOAT_EQ(c[2], 1.0f);
    c = floorLightColor(4, 0, 12); // nearer the viewer than the ship: green falls
    EXPECT_LT(c[1], 0.5f);
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

TEST_F(FloorTest, HudTextsFollowTheShipAndKeepTheLastScore) {
    resetHudTexts();
    ListSprite list;
    MyShip ship(&list, 100);
    struct Case {
        int score;
        int bombs;
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

TEST(CameraTracking, GlidesBackToTheCentreAfterTheShipIsLost) {
    camX = 1.0f;
    camZ = 11.95f;
    camRoll = 0.4f;
    trackCamera(nullptr);
    EXPECT_NEAR(camX, 0.98f, 1e-6);
    EXPECT_NEAR(camZ, 11.97f, 1e-5);
    for (int i = 0; i < 100; ++i)
        trackCamera(nullptr);
    EXPECT_FLOAT_EQ(camX, 0.0f);
    EXPECT_GE(camZ, 12.0f);
    EXPECT_LT(camZ, 12.03f);
    EXPECT_FLOAT_EQ(camRoll, 0.4f);

    camX = -0.5f;
    for (int i = 0; i < 30; ++i)
        trackCamera(nullptr);
    EXPECT_FLOAT_EQ(camX, 0.0f);
}

TEST(CameraTracking, FollowsTheShip) {
    Engine::createHeadless();
    ListSprite list;
    MyShip ship(&list, 100);
    ship.x = -3;
    ship.z = 20;
    ship.vx = 0.25f;
    trackCamera(&ship);
    EXPECT_FLOAT_EQ(camX, ship.getX());
    EXPECT_FLOAT_EQ(camZ, ship.getZ());
    EXPECT_FLOAT_EQ(camRoll, 0.25f);
    Engine::discard();
}

TEST(CameraTracking, AspectFollowsTheWindow) {
    EXPECT_NEAR(aspectFor(1.333333, 1024, 768), 1.333333, 1e-9);
    EXPECT_NEAR(aspectFor(0.8, 1024, 768), 0.8, 1e-9);
    EXPECT_NEAR(aspectFor(1.333333, 1920, 1080), 1.333333 * (16.0 / 9.0) / (4.0 / 3.0), 1e-9);
    EXPECT_NEAR(aspectFor(0.8, 1280, 720), 0.8 * (16.0 / 9.0) / (4.0 / 3.0), 1e-9);
    EXPECT_NEAR(aspectFor(1.333333, 0, 0), 1.333333, 1e-9);
}
