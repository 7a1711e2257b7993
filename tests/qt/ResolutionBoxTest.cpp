// A window whose size is none of the screen's modes finds its own size in the Resolution box, in its place
// by width and selected; choosing it keeps the size.
#include "QtHarness.h"

#include "core/Engine.h"
#include "ui/GameOptions.h"

#include <QComboBox>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

TEST(ResolutionBox, TheWindowsOwnSizeIsListedSelectedAndKept) {
    Engine* engine = Engine::createHeadless();
    engine->screenWidth = 1280;
    engine->screenHeight = 960;
    GameOptions panel;
    const std::vector<QSize> modes = {{1280, 1024}, {800, 600}};
    panel.fillResolutions(1280, 960, &modes);
    QComboBox* box = panel.box("resolution");
    EXPECT_EQ(box->count() == 3 ? box->itemText(0) + "," + box->itemText(1) : "", "800 x 600,1280 x 960");
    EXPECT_EQ(box->currentIndex(), 1);
    emit box->activated(1);
    EXPECT_TRUE(engine->screenWidth == 1280 && engine->screenHeight == 960);
    EXPECT_EQ(store()->value("Graphic/Height").toInt(), 960);
    Engine::discard();
}

} // namespace
