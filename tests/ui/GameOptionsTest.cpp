#include "core/Engine.h"
#include "platform/QtSingleApplication.h"
#include "ui/GameOptions.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QSettings>

namespace {

QSettings* store() {
    return tvt::QtSingleApplication::appSettings();
}

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        store()->clear();
        store()->sync();
        engine = Engine::createHeadless();
    }
    void TearDown() override {
        Engine::discard();
        store()->clear();
        store()->sync();
    }
    // What a player's pick does: the box's activated signal.
    static void pick(QComboBox* box, int index) {
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    Engine* engine = nullptr;
};

std::vector<QSize> modes(std::initializer_list<QSize> list) {
    return std::vector<QSize>(list);
}

QStringList texts(QComboBox* box) {
    QStringList out;
    for (int k = 0; k < box->count(); ++k)
        out << box->itemText(k);
    return out;
}

TEST_F(Options, ResolutionsAreOrderedByWidthAndTheCurrentOneSelected) {
    GameOptions panel;
    QComboBox* box = panel.box("resolution");
    const auto list = modes({{1280, 1024}, {1280, 960}, {1024, 768}, {800, 600}, {640, 480}});
    EXPECT_EQ(panel.fillResolutions(1024, 768, &list), 0);
    EXPECT_EQ(texts(box), QStringList({"800 x 600", "1024 x 768", "1280 x 960", "1280 x 1024"}));
    EXPECT_EQ(box->currentIndex(), 1);
    EXPECT_EQ(box->itemData(3).toSize(), QSize(1280, 1024));
    EXPECT_TRUE(box->itemIcon(0).isNull());

    // Smallest first, and a taller mode of the same width after the shorter one.
    const auto rising = modes({{800, 600}, {1280, 960}, {1024, 768}, {1280, 1024}, {1600, 1200}});
    EXPECT_EQ(panel.fillResolutions(1600, 1200, &rising), 0);
    EXPECT_EQ(texts(box),
              QStringList({"800 x 600", "1024 x 768", "1280 x 960", "1280 x 1024", "1600 x 1200"}));
    EXPECT_EQ(box->currentIndex(), 4);

    // A size that is not offered selects nothing; 640 x 480 is never offered.
    EXPECT_EQ(panel.fillResolutions(640, 480, &list), 0);
    EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_EQ(box->findText("640 x 480"), -1);

    EXPECT_EQ(panel.fillResolutions(1024, 768, nullptr), -1);
    EXPECT_EQ(box->count(), 0);
}

TEST_F(Options, BoxesStartFromTheEngine) {
    engine->anisotropic = 8;
    engine->details = 1;
    engine->fullScreen = false;
    engine->textureFilter = 0;
    engine->shadows = true;
    engine->forceFeedback = 0;
    GameOptions panel;
    EXPECT_EQ(panel.box("anisotropicFiltering")->currentText(), "8");
    EXPECT_EQ(panel.box("detailsLevel")->currentIndex(), 1);
    EXPECT_EQ(panel.box("fullscreen")->currentIndex(), 1);
    EXPECT_EQ(panel.box("texturefilter")->currentIndex(), 0);
    EXPECT_EQ(panel.box("shadows")->currentText(), "On");
    EXPECT_EQ(panel.box("forceFeedback")->currentText(), "Off");
    EXPECT_DOUBLE_EQ(panel.windowOpacity(), 0.8);
    // Filling the boxes saved nothing.
    EXPECT_FALSE(store()->contains("Graphic/Filter"));
}

TEST_F(Options, AnisotropyIndexStaysInTheBox) {
    const int cases[][2] = {{0, 0}, {-3, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {8, 3}, {16, 3}, {1 << 30, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(GameOptions::anisotropyIndex(c[0]), c[1]) << c[0];
}

TEST_F(Options, EachPickSetsTheEngineAndSaves) {
    GameOptions panel;
    pick(panel.box("shadows"), 1);
    EXPECT_FALSE(engine->shadows);
    EXPECT_EQ(store()->value("Graphic/Shadows").toInt(), 0);

    pick(panel.box("texturefilter"), 1);
    EXPECT_EQ(engine->textureFilter, 1);
    EXPECT_EQ(store()->value("Graphic/Filter").toInt(), 1);

    pick(panel.box("anisotropicFiltering"), 1);
    EXPECT_EQ(engine->anisotropic, 2);
    EXPECT_EQ(store()->value("Graphic/Anisotropic").toInt(), 2);

    pick(panel.box("detailsLevel"), 0);
    EXPECT_EQ(engine->details, 0);
    EXPECT_EQ(store()->value("Graphic/Details").toInt(), 0);

    pick(panel.box("shadows"), 0);
    EXPECT_TRUE(engine->shadows);
    EXPECT_EQ(store()->value("Graphic/Shadows").toInt(), 1);

    // Force feedback waits for the next save.
    pick(panel.box("forceFeedback"), 1);
    EXPECT_EQ(engine->forceFeedback, 0);
    EXPECT_EQ(store()->value("general/ForceFeedback").toInt(), 1);
    pick(panel.box("detailsLevel"), 2);
    EXPECT_EQ(store()->value("general/ForceFeedback").toInt(), 0);
    EXPECT_EQ(store()->value("Graphic/Details").toInt(), 2);
}

TEST_F(Options, ResolutionAndFullScreenAreSaved) {
    GameOptions panel;
    const auto list = modes({{1280, 1024}, {1024, 768}, {800, 600}});
    panel.fillResolutions(1024, 768, &list);
    pick(panel.box("resolution"), 0);
    EXPECT_EQ(engine->screenWidth, 800);
    EXPECT_EQ(engine->screenHeight, 600);
    EXPECT_EQ(store()->value("Graphic/Width").toInt(), 800);
    EXPECT_EQ(store()->value("Graphic/Height").toInt(), 600);

    pick(panel.box("fullscreen"), 0);
    EXPECT_TRUE(engine->fullScreen);
    EXPECT_EQ(store()->value("Graphic/FullScreen").toInt(), 1);
    pick(panel.box("fullscreen"), 1);
    EXPECT_FALSE(engine->fullScreen);
    EXPECT_EQ(store()->value("Graphic/FullScreen").toInt(), 0);

    // An empty box: picking nothing changes nothing.
    panel.fillResolutions(1024, 768, nullptr);
    emit panel.box("resolution")->activated(0);
    EXPECT_EQ(engine->screenWidth, 800);
}

} // namespace
