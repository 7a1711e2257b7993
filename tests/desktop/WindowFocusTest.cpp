// The window tells the game when it goes to the background: focus lost or minimised.
#include "platform/SDL_QMainWindow.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <vector>

namespace {

class TestMainWindow : public SDL_QMainWindow {
public:
    TestMainWindow() : view(new SDL_QWidget(this)) { setCentralWidget(view); }
    SDL_QWidget* view;
};

std::vector<int> activeGains() {
    std::vector<int> gains;
    sdlq::Event event;
    while (sdlq::pollEvent(&event))
        if (event.type == sdlq::ActiveEvent)
            gains.push_back(event.gain);
    return gains;
}

TEST(WindowFocus, DeactivationAndMinimisingReportTheLossActivationTheGain) {
    TestMainWindow window;
    window.resize(320, 240);
    window.show();
    ASSERT_EQ(SDL_QWidget::current(), window.view);
    QApplication::setActiveWindow(&window);
    activeGains();
    sdlq::clearEvents();

    sdlq::pressKey(sdlq::KeyLeft);
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(activeGains(), std::vector<int>{0});
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeyLeft], 0) << "no key stays held for another window";

    QApplication::setActiveWindow(&window);
    EXPECT_EQ(activeGains(), std::vector<int>{1});

    window.showMinimized();
    const std::vector<int> gains = activeGains();
    ASSERT_FALSE(gains.empty());
    EXPECT_EQ(gains.front(), 0);
    EXPECT_EQ(gains.back(), 0) << "a minimised window never reports a gain";

    // Another window's focus changes are none of the game's business.
    window.showNormal();
    activeGains();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    activeGains();
    QApplication::setActiveWindow(nullptr);
    EXPECT_TRUE(activeGains().empty());
    sdlq::clearEvents();
    sdlq::releaseAllKeys();
}

} // namespace
