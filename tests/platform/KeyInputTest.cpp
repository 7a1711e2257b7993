#include "PlatformTestSupport.h"

#include <QGraphicsProxyWidget>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct KeyCase {
    int qtKey;
    quint32 nativeKey;
    Qt::KeyboardModifiers modifiers;
    int expected;
};

constexpr KeyCase keyCases[] = {
    {Qt::Key_A, 0, Qt::NoModifier, 'a'},
    {Qt::Key_Z, 0, Qt::NoModifier, 'z'},
    {Qt::Key_W, 0, Qt::ShiftModifier, 'w'},
    {Qt::Key_0, 0, Qt::NoModifier, '0'},
    {Qt::Key_9, 0, Qt::NoModifier, '9'},
    {Qt::Key_Space, 0, Qt::NoModifier, 32},
    {Qt::Key_Escape, 0, Qt::NoModifier, 27},
    {Qt::Key_Return, 0, Qt::NoModifier, 13},
    {Qt::Key_Backspace, 0, Qt::NoModifier, 8},
    {Qt::Key_Tab, 0, Qt::NoModifier, 9},
    {Qt::Key_Up, 0, Qt::NoModifier, 273},
    {Qt::Key_Down, 0, Qt::NoModifier, 274},
    {Qt::Key_Right, 0, Qt::NoModifier, 275},
    {Qt::Key_Left, 0, Qt::NoModifier, 276},
    {Qt::Key_F1, 0, Qt::NoModifier, 282},
    {Qt::Key_F5, 0, Qt::NoModifier, 286},
    {Qt::Key_F15, 0, Qt::NoModifier, 296},
    {Qt::Key_Shift, 0xffe1, Qt::ShiftModifier, 304},
    {Qt::Key_Shift, 0xffe2, Qt::ShiftModifier, 303},
    {Qt::Key_Control, 0xffe3, Qt::ControlModifier, 306},
    {Qt::Key_Control, 0xffe4, Qt::ControlModifier, 305},
    {Qt::Key_Alt, 0xffe9, Qt::AltModifier, 308},
    {Qt::Key_Alt, 0xffea, Qt::AltModifier, 307},
    {Qt::Key_Control, 0, Qt::NoModifier, 306},
    {Qt::Key_5, 0, Qt::KeypadModifier, 261},
    {Qt::Key_Comma, 0, Qt::NoModifier, ','},
    {Qt::Key_VolumeUp, 0, Qt::NoModifier, 0},
};

TEST(KeyTranslation, QtKeysBecomeSdlKeysyms) {
    for (const KeyCase& c : keyCases) {
        QKeyEvent event(QEvent::KeyPress, c.qtKey, c.modifiers, 0, c.nativeKey, 0);
        EXPECT_EQ(sdlq::translateKey(&event), c.expected) << "Qt key 0x" << std::hex << c.qtKey;
    }
}

TEST(KeyInput, PressQueuesKeyDownAndHoldsUntilRelease) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    sendKey(view, QEvent::KeyPress, Qt::Key_Left);
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeyLeft], 1);
    sendKey(view, QEvent::KeyPress, Qt::Key_A, "a");
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{sdlq::KeyLeft, 'a'}));
    sendKey(view, QEvent::KeyRelease, Qt::Key_Left);
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeyLeft], 0);
    EXPECT_EQ(sdlq::getKeyState()['a'], 1);
    // Keys reach the game from anywhere in the window, not only from the view.
    sendKey(testWindow(), QEvent::KeyPress, Qt::Key_F2);
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{sdlq::KeyF2}));
}

TEST(KeyInput, ATapShorterThanAFrameIsHeldForThatFrame) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    drainEvents();
    // Pressed and released before the game looked: the frame that sees the press sees the key held.
    sendKey(view, QEvent::KeyPress, Qt::Key_Escape);
    sendKey(view, QEvent::KeyRelease, Qt::Key_Escape);
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeyEscape], 1);
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{sdlq::KeyEscape}));
    drainEvents(); // the next frame
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeyEscape], 0);
}

TEST(EventPolling, QtIsServedOncePerFrameOfEvents) {
    resetWindow();
    drainEvents();
    sdlq::Event key;
    key.type = sdlq::KeyDownEvent;
    key.key = 'a';
    sdlq::pushEvent(key);
    sdlq::pushEvent(key);
    sdlq::Event got;
    ASSERT_TRUE(sdlq::pollEvent(&got));
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    ASSERT_TRUE(sdlq::pollEvent(&got));
    EXPECT_FALSE(sdlq::pollEvent(&got));
    EXPECT_FALSE(ran); // deferred work waits for the next frame
    sdlq::pollEvent(&got);
    EXPECT_TRUE(ran);
}

TEST(KeyInput, AutoRepeatIsDroppedAndKeepsTheKeyHeld) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    sendKey(view, QEvent::KeyPress, Qt::Key_Space, " ");
    // X delivers a repeat as a release and a press, both marked as repeats.
    for (int k = 0; k < 3; ++k) {
        sendKey(view, QEvent::KeyRelease, Qt::Key_Space, " ", true);
        sendKey(view, QEvent::KeyPress, Qt::Key_Space, " ", true);
    }
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{sdlq::KeySpace}));
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeySpace], 1);
}

TEST(KeyInput, FocusLossReleasesHeldKeys) {
    resetWindow();
    sendKey(testWindow()->view, QEvent::KeyPress, Qt::Key_Up);
    ASSERT_EQ(sdlq::getKeyState()[sdlq::KeyUp], 1);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(testWindow(), &deactivate);
    EXPECT_EQ(sdlq::getKeyState()[sdlq::KeyUp], 0);
}

TEST(KeyInput, CloseButtonAndQuitSdlBothQueueQuit) {
    resetWindow();
    TestWindow* window = testWindow();
    EXPECT_FALSE(window->close()); // the game decides when the window goes
    EXPECT_TRUE(window->isVisible());
    std::vector<sdlq::Event> events = drainEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, sdlq::QuitEvent);
    window->quitSDL();
    events = drainEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, sdlq::QuitEvent);
}

// A key-catching overlay, as the front-end screens are.
class KeyCatcher : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        keys.push_back(event->key());
        event->accept();
    }
};

TEST(KeyInput, GrabbingDecidesWhetherOverlaysHearKeys) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    auto* catcher = new KeyCatcher();
    catcher->setFocusPolicy(Qt::StrongFocus);
    catcher->resize(100, 100);
    QGraphicsProxyWidget* proxy = view->addWidget(catcher);
    proxy->show();
    proxy->setFocus();
    ASSERT_TRUE(waitFor([view, proxy] { return view->scene()->focusItem() == proxy; }));

    view->enableGrabbing(true);
    sendKey(view, QEvent::KeyPress, Qt::Key_X, "x");
    EXPECT_TRUE(catcher->keys.empty());
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{'x'}));

    view->enableGrabbing(false);
    proxy->setFocus();
    sendKey(view, QEvent::KeyPress, Qt::Key_Y, "y");
    EXPECT_EQ(catcher->keys, (std::vector<int>{Qt::Key_Y}));
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{'y'}));
    delete catcher;
}

TEST(KeyInput, TypingIntoANameFieldIsNotGivenToTheGame) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    auto* form = new QWidget();
    auto* layout = new QVBoxLayout(form);
    auto* name = new QLineEdit(form);
    layout->addWidget(name);
    QGraphicsProxyWidget* proxy = view->addWidget(form);
    proxy->show();
    view->enableGrabbing(false);
    proxy->setFocus();
    name->setFocus();
    ASSERT_TRUE(waitFor([view] { return view->textFieldHasFocus(); }));
    sendKey(view, QEvent::KeyPress, Qt::Key_B, "b");
    sendKey(view, QEvent::KeyRelease, Qt::Key_B, "b");
    sendKey(view, QEvent::KeyPress, Qt::Key_O, "o");
    EXPECT_EQ(name->text(), QStringLiteral("bo"));
    EXPECT_TRUE(keyDowns(drainEvents()).empty());
    EXPECT_EQ(sdlq::getKeyState()['o'], 0);
    // Escape closes the screen through the game.
    sendKey(view, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{sdlq::KeyEscape}));
    // Once the name is entered and the field gone, keys are the game's again.
    proxy->hide();
    sendKey(view, QEvent::KeyPress, Qt::Key_P, "p");
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{'p'}));
    delete form;
}

TEST(KeyInput, NameFieldThatIsAPlainChildOfTheViewKeepsItsKeys) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    auto* name = new QLineEdit(view);
    name->setGeometry(10, 10, 120, 24);
    name->show();
    view->enableGrabbing(false);
    name->setFocus();
    ASSERT_TRUE(waitFor([name] { return name->hasFocus(); }));
    // The field itself is the focus widget, so the keys come to it straight.
    sendKey(name, QEvent::KeyPress, Qt::Key_J, "j");
    sendKey(name, QEvent::KeyPress, Qt::Key_O, "o");
    EXPECT_EQ(name->text(), QStringLiteral("jo"));
    EXPECT_TRUE(keyDowns(drainEvents()).empty());
    sendKey(name, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{sdlq::KeyEscape}));
    // A key pressed anywhere else in the window is the game's.
    sendKey(testWindow(), QEvent::KeyPress, Qt::Key_K, "k");
    EXPECT_EQ(keyDowns(drainEvents()), (std::vector<int>{'k'}));
    delete name;
}

TEST(GameViewList, NewestLiveViewIsTheCurrentOne) {
    SDL_QWidget* main = testWindow()->view;
    EXPECT_EQ(SDL_QWidget::current(), main);
    {
        SDL_QWidget second;
        EXPECT_EQ(SDL_QWidget::current(), &second);
    }
    // Once a later view is gone, the game draws into the window's view again.
    EXPECT_EQ(SDL_QWidget::current(), main);
}

void click(QWidget* viewport, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

TEST(MouseInput, ClickReachesAScaledOverlayOnlyWithoutGrabbing) {
    resetWindow();
    SDL_QWidget* view = testWindow()->view;
    auto* button = new QPushButton(QStringLiteral("Quit"));
    button->resize(160, 60);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QGraphicsProxyWidget* proxy = view->addWidget(button);
    proxy->setPos(100, 80);
    proxy->setTransform(QTransform::fromScale(0.5, 0.5));
    proxy->show();
    // Where the button's middle shows on screen: (100 + 40, 80 + 15).
    const QPoint middle = view->mapFromScene(proxy->mapToScene(QPointF(80, 30)));
    EXPECT_EQ(middle, QPoint(140, 95));

    view->enableGrabbing(true);
    click(view->viewport(), middle);
    EXPECT_EQ(clicks, 0);
    view->enableGrabbing(false);
    click(view->viewport(), middle);
    EXPECT_EQ(clicks, 1);
    // Outside the scaled button (inside its unscaled size) nothing happens.
    click(view->viewport(), QPoint(100 + 120, 80 + 45));
    EXPECT_EQ(clicks, 1);
    delete button;
}

} // namespace
