// Qt input turned into the game's events and held keys, and what a name field over the game keeps.
#include "QtHarness.h"

namespace {

using Events = std::vector<int>;
const Uint8* held = sdlq::getKeyState();

TEST(KeyInput, QtKeysBecomeSdlKeysyms) {
    // Qt key (negative: on the keypad), X keysym, SDL keysym: range edges, both sides of each modifier.
    using enum Qt::Key;
    const int cases[][3] = {
        {Key_A, 0, 'a'},           {Key_Z, 0, 'z'},        {Key_0, 0, '0'},        {Key_Exclam, 0, '!'},
        {Key_AsciiTilde, 0, '~'},  {Key_Space, 0, 32},     {Key_Escape, 0, 27},    {Key_Return, 0, 13},
        {Key_Backspace, 0, 8},     {Key_Tab, 0, 9},        {Key_Up, 0, 273},       {Key_Down, 0, 274},
        {Key_Right, 0, 275},       {Key_Left, 0, 276},     {Key_F1, 0, 282},       {Key_F15, 0, 296},
        {Key_F16, 0, 0},           {Key_VolumeUp, 0, 0},   {-Key_5, 0, 261},       {Key_Shift, 0xffe1, 304},
        {Key_Shift, 0xffe2, 303},  {Key_Alt, 0xffe9, 308}, {Key_Alt, 0xffea, 307}, {Key_Control, 0xffe3, 306},
        {Key_Control, 0xffe4, 305}};
    for (const auto& [qt, native, sdl] : cases) {
        QKeyEvent event(QEvent::KeyPress, std::abs(qt), qt < 0 ? Qt::KeypadModifier : Qt::NoModifier, 0,
                        quint32(native), 0);
        EXPECT_EQ(sdlq::translateKey(&event), sdl) << "Qt key 0x" << std::hex << qt;
    }
}

TEST(KeyInput, KeysFromAnywhereInTheWindowAreHeldUntilReleasedAndAtLeastOneFrame) {
    TestWindow* window = resetWindow();
    sendKey(window->view, Qt::Key_Left);
    EXPECT_EQ(held[sdlq::KeyLeft], 1);
    sendKey(window, Qt::Key_A, QEvent::KeyPress, "a");
    EXPECT_EQ(gameEvents(), (Events{sdlq::KeyLeft, 'a'}));
    sendKey(window->view, Qt::Key_Left, QEvent::KeyRelease);
    EXPECT_TRUE(held[sdlq::KeyLeft] == 0 && held['a'] == 1);
    // X sends a repeat as a release and a press, both marked as repeats: the key stays held, down once.
    sendKey(window->view, Qt::Key_Space, QEvent::KeyPress, " ");
    for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress})
        sendKey(window->view, Qt::Key_Space, type, " ", true);
    // A tap between two frames counts as held until the next frame starts polling.
    sendKey(window->view, Qt::Key_Escape);
    sendKey(window->view, Qt::Key_Escape, QEvent::KeyRelease);
    EXPECT_EQ(held[sdlq::KeyEscape], 1);
    EXPECT_EQ(gameEvents(), (Events{sdlq::KeySpace, sdlq::KeyEscape}));
    EXPECT_TRUE(held[sdlq::KeyEscape] == 0 && held[sdlq::KeySpace] == 1);
    // Qt is served once per frame of events: what a screen defers waits for the next frame.
    sdlq::pushEvent(sdlq::Event());
    sdlq::pushEvent(sdlq::Event());
    ASSERT_TRUE(sdlq::pollEvent(nullptr));
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    EXPECT_TRUE(sdlq::pollEvent(nullptr) && !sdlq::pollEvent(nullptr) && !ran);
    sdlq::pollEvent(nullptr);
    EXPECT_TRUE(ran);
}

// The newest window's view is the game's; a window of its own, never shown, hears only the events sent here.
TEST(KeyInput, FocusLossReleasesTheKeysAndOnlyTheGameWindowReportsIt) {
    SDL_QWidget* before = SDL_QWidget::current();
    auto window = std::make_unique<TestWindow>();
    QWidget other;
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    for (QWidget* target : {static_cast<QWidget*>(window.get()), &other}) {
        drainEvents();
        sendKey(window->view, Qt::Key_Up);
        QApplication::sendEvent(target, &deactivate);
        EXPECT_EQ(held[sdlq::KeyUp], target == &other) << "no key stays held for another window";
        QApplication::sendEvent(target, &activate);
        target->setWindowState(Qt::WindowMinimized);
        target->setWindowState(Qt::WindowNoState);
        EXPECT_EQ(gameEvents(), target == &other ? Events{sdlq::KeyUp} : (Events{sdlq::KeyUp, -1, -2, -1}));
    }
    window.reset();
    EXPECT_EQ(SDL_QWidget::current(), before)
        << "once a newer view is gone, the older one is the game's again";
}

// A name field in an overlay of the scene, or a plain child of the view (the score table's).
TEST(KeyInput, TypingIntoANameFieldIsNotGivenToTheGameButEscapeAndGrabbedKeysAre) {
    for (bool overlay : {true, false}) {
        SDL_QWidget* view = resetWindow()->view;
        QLineEdit name;
        QGraphicsProxyWidget* proxy = overlay ? view->addWidget(&name) : nullptr;
        if (!overlay)
            name.setParent(view);
        name.show();
        view->enableGrabbing(false);
        if (proxy)
            proxy->setFocus();
        name.setFocus();
        ASSERT_TRUE(waitFor([&] { return overlay ? view->textFieldHasFocus() : name.hasFocus(); }));
        QObject* to = overlay ? static_cast<QObject*>(view) : &name;
        view->enableGrabbing(true);
        sendKey(to, Qt::Key_X, QEvent::KeyPress, "x"); // while the game grabs, every key is its own
        view->enableGrabbing(false);
        for (int key : {Qt::Key_B, Qt::Key_Escape})
            sendKey(to, key, QEvent::KeyPress, QChar(key).toLower());
        EXPECT_TRUE(name.text() == "b" && held['b'] == 0) << overlay;
        // Once the field is gone, or for a key pressed elsewhere in the window, keys are the game's again.
        name.hide();
        sendKey(overlay ? static_cast<QObject*>(view) : view->window(), Qt::Key_P, QEvent::KeyPress, "p");
        EXPECT_EQ(gameEvents(), (Events{'x', sdlq::KeyEscape, 'p'})) << overlay;
    }
}

} // namespace
