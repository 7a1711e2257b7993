#include "core/Engine.h"
#include "platform/QtSingleApplication.h"

#include <gtest/gtest.h>

#include <QSettings>

#include <string>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        store = tvt::QtSingleApplication::appSettings();
        store->clear();
        engine = Engine::createHeadless();
        engine->maxAnisotropy = 8;
    }
    void TearDown() override {
        store->clear();
        Engine::discard();
    }

    void storeGraphic(const char* key, const QVariant& value) {
        store->setValue(QString("Graphic/") + key, value);
    }

    QSettings* store = nullptr;
    Engine* engine = nullptr;
};

TEST_F(Settings, FirstStartUsesTheDefaultsAndMarksTheRun) {
    engine->loadSettings(0);
    EXPECT_TRUE(engine->fullScreen);
    EXPECT_TRUE(engine->shadows);
    EXPECT_EQ(engine->textureFilter, 2);
    EXPECT_EQ(engine->details, 2);
    EXPECT_EQ(engine->forceFeedback, 1);
    EXPECT_EQ(engine->anisotropic, 8);
    EXPECT_GT(engine->screenWidth, 0);
    EXPECT_GT(engine->screenHeight, 0);
    EXPECT_EQ(store->value("general/Running").toInt(), 1);
}

TEST_F(Settings, SavedOptionsComeBackAfterACleanExit) {
    engine->textureFilter = 1;
    engine->anisotropic = 2;
    engine->details = 0;
    engine->shadows = false;
    engine->screenWidth = 800;
    engine->screenHeight = 600;
    engine->fullScreen = false;
    engine->forceFeedback = 0;
    engine->saveSettings();
    store->setValue("general/Running", 0); // the window's destructor on a clean exit

    Engine* next = Engine::createHeadless();
    next->loadSettings(0);
    EXPECT_EQ(next->textureFilter, 1);
    EXPECT_EQ(next->anisotropic, 2);
    EXPECT_EQ(next->details, 0);
    EXPECT_FALSE(next->shadows);
    EXPECT_EQ(next->screenWidth, 800);
    EXPECT_EQ(next->screenHeight, 600);
    EXPECT_FALSE(next->fullScreen);
    EXPECT_EQ(next->forceFeedback, 0);
    EXPECT_EQ(store->value("Graphic/Shadows").toInt(), 0);
}

TEST_F(Settings, CrashGuardIgnoresStoredValuesWithoutChangingThem) {
    storeGraphic("Width", 800);
    storeGraphic("FullScreen", 0);
    store->setValue("general/Running", 1); // the last run never closed cleanly
    engine->loadSettings(0);
    EXPECT_TRUE(engine->fullScreen);
    EXPECT_NE(engine->screenWidth, 800);
    EXPECT_EQ(store->value("Graphic/Width").toInt(), 800);

    // During a run the expected flag is 1: what the options panel just saved is read.
    Engine* rebuilt = Engine::createHeadless();
    rebuilt->loadSettings(1);
    EXPECT_EQ(rebuilt->screenWidth, 800);
    EXPECT_FALSE(rebuilt->fullScreen);
}

struct HostileCase {
    const char* key;
    QVariant value;
};

TEST_F(Settings, HostileValuesFallBackToTheDefaults) {
    const HostileCase sizes[] = {
        {"Width", 0}, {"Width", -5}, {"Width", 100000}, {"Width", "wide"}, {"Height", "1e9"}, {"Height", -1},
    };
    for (const HostileCase& c : sizes) {
        store->clear();
        store->setValue("general/Running", 0);
        storeGraphic(c.key, c.value);
        Engine* e = Engine::createHeadless();
        e->loadSettings(0);
        EXPECT_GT(e->screenWidth, 0) << c.key << " " << c.value.toString().toStdString();
        EXPECT_LE(e->screenWidth, 16384);
        EXPECT_GT(e->screenHeight, 0);
        EXPECT_LE(e->screenHeight, 16384);
    }

    store->clear();
    store->setValue("general/Running", 0);
    storeGraphic("Shadows", 2);
    storeGraphic("FullScreen", "yes");
    storeGraphic("Details", 9);
    storeGraphic("Filter", 7);
    storeGraphic("Anisotropic", "lots");
    storeGraphic("Width", 1280);
    Engine* e = Engine::createHeadless();
    e->maxAnisotropy = 4;
    e->loadSettings(0);
    EXPECT_FALSE(e->shadows);   // only exactly 1 means on
    EXPECT_TRUE(e->fullScreen); // text where a number belongs counts as absent
    EXPECT_EQ(e->details, 2);
    EXPECT_EQ(e->textureFilter, 7); // kept as it is: it simply changes no filter
    EXPECT_EQ(e->anisotropic, 4);
    EXPECT_EQ(e->screenWidth, 1280);
}

TEST_F(Settings, ResourcePathsAreStringsOfTheirOwn) {
    const std::string a = Engine::resourcePath("samples/vorn.xm");
    const std::string b = Engine::resourcePath("textures/floor.png");
    EXPECT_NE(a, b);
    EXPECT_NE(a.find("/Resources/samples/vorn.xm"), std::string::npos);
    EXPECT_NE(b.find("/Resources/textures/floor.png"), std::string::npos);
}

} // namespace
