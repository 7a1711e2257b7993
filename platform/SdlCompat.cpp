// Events, held keys, clock, caption and mode list of the game view.
#include "platform/SdlCompat.h"

#include "platform/GameSurface.h"
#include "platform/SDL_QWidget.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QSurfaceFormat>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <deque>
#include <string>

namespace sdlq {
namespace {

Uint8 keyState[KeyCount];
// A key pressed and released between two frames still counts as held in the frame that sees its press;
// its release takes effect when the next frame starts polling.
Uint8 pressedThisFrame[KeyCount];
Uint8 pendingRelease[KeyCount];
bool draining = false;
// Set by the quit signals' handler, the only thing it touches.
volatile std::sig_atomic_t quitSignalled = 0;
// The window last seen on the screen: until a window has been, it counts as visible.
QPointer<QWindow> windowSeen;

void onQuitSignal(int) {
    quitSignalled = 1;
}

void startFrameOfEvents() {
    for (int k = 0; k < KeyCount; ++k) {
        if (pendingRelease[k])
            keyState[k] = 0;
    }
    std::memset(pendingRelease, 0, sizeof pendingRelease);
    std::memset(pressedThisFrame, 0, sizeof pressedThisFrame);
    draining = true;
}
std::deque<Event> events;
Uint32 (*ticksSource)() = nullptr;
std::string windowCaption;
std::string iconCaption;

// X11 keysyms of the right-hand modifiers; the left ones are the default.
constexpr quint32 XShiftR = 0xffe2;
constexpr quint32 XControlR = 0xffe4;
constexpr quint32 XMetaR = 0xffe8;
constexpr quint32 XAltR = 0xffea;
constexpr quint32 XLevel3Shift = 0xfe03;

constexpr int KeyDelete = 127;
constexpr int KeyKeypad0 = 256;
constexpr int KeyKeypadPeriod = 266;
constexpr int KeyKeypadDivide = 267;
constexpr int KeyKeypadMultiply = 268;
constexpr int KeyKeypadMinus = 269;
constexpr int KeyKeypadPlus = 270;
constexpr int KeyKeypadEnter = 271;
constexpr int KeyKeypadEquals = 272;
constexpr int KeyNumLock = 300;
constexpr int KeyCapsLock = 301;
constexpr int KeyScrollLock = 302;
constexpr int KeyRMeta = 309;
constexpr int KeyLMeta = 310;
constexpr int KeyLSuper = 311;
constexpr int KeyRSuper = 312;
constexpr int KeyPause = 19;
constexpr int KeyF15 = 296;

struct KeyPair {
    int qt;
    int sdl;
};

constexpr KeyPair specialKeys[] = {
    {Qt::Key_Escape, KeyEscape},
    {Qt::Key_Return, KeyReturn},
    {Qt::Key_Backspace, KeyBackspace},
    {Qt::Key_Tab, KeyTab},
    {Qt::Key_Backtab, KeyTab},
    {Qt::Key_Space, KeySpace},
    {Qt::Key_Up, KeyUp},
    {Qt::Key_Down, KeyDown},
    {Qt::Key_Right, KeyRight},
    {Qt::Key_Left, KeyLeft},
    {Qt::Key_Insert, KeyInsert},
    {Qt::Key_Home, KeyHome},
    {Qt::Key_End, KeyEnd},
    {Qt::Key_PageUp, KeyPageUp},
    {Qt::Key_PageDown, KeyPageDown},
    {Qt::Key_Delete, KeyDelete},
    {Qt::Key_Pause, KeyPause},
    {Qt::Key_NumLock, KeyNumLock},
    {Qt::Key_CapsLock, KeyCapsLock},
    {Qt::Key_ScrollLock, KeyScrollLock},
    {Qt::Key_Enter, KeyKeypadEnter},
    {Qt::Key_Super_L, KeyLSuper},
    {Qt::Key_Super_R, KeyRSuper},
    {Qt::Key_AltGr, KeyRAlt},
};

constexpr KeyPair keypadKeys[] = {
    {Qt::Key_Period, KeyKeypadPeriod},     {Qt::Key_Comma, KeyKeypadPeriod}, {Qt::Key_Slash, KeyKeypadDivide},
    {Qt::Key_Asterisk, KeyKeypadMultiply}, {Qt::Key_Minus, KeyKeypadMinus},  {Qt::Key_Plus, KeyKeypadPlus},
    {Qt::Key_Enter, KeyKeypadEnter},       {Qt::Key_Equal, KeyKeypadEquals},
};

// Sizes offered when SDL cannot list the display's modes.
constexpr int standardModes[][2] = {
    {640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},  {1280, 960},
    {1280, 1024}, {1366, 768},  {1440, 900},  {1600, 900},  {1600, 1200}, {1680, 1050},
    {1920, 1080}, {1920, 1200}, {2560, 1440}, {2560, 1600}, {3840, 2160},
};

void sortModes(std::vector<QSize>* modes) {
    std::sort(modes->begin(), modes->end(), [](const QSize& a, const QSize& b) {
        return a.width() != b.width() ? a.width() > b.width() : a.height() > b.height();
    });
    modes->erase(std::unique(modes->begin(), modes->end()), modes->end());
}

bool sdlModes(std::vector<QSize>* modes) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    const int count = SDL_GetNumDisplayModes(0);
    for (int k = 0; k < count; ++k) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, k, &mode) == 0 && mode.w > 0 && mode.h > 0)
            modes->push_back(QSize(mode.w, mode.h));
    }
    return !modes->empty();
}

} // namespace

bool pollEvent(Event* event) {
    // Qt is served once per frame, when the game starts reading its events: what a screen defers
    // with a zero timer then happens in the next frame, after the game has handled the same key.
    const bool serveQt = !draining;
    if (!draining)
        startFrameOfEvents();
    if (serveQt && QCoreApplication::instance()) {
        QCoreApplication::processEvents();
        // Outside exec() deleteLater() only happens when asked for.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Qt painted with its own context meanwhile.
        if (GameSurface* surface = GameSurface::instance())
            surface->restoreCurrent();
    }
    if (serveQt && quitSignalled) {
        quitSignalled = 0;
        pushQuit();
    }
    if (events.empty()) {
        draining = false;
        return false;
    }
    const Event next = events.front();
    events.pop_front();
    // The frame takes the view's new size as the game learns of it.
    if (next.type == VideoResizeEvent) {
        if (GameSurface* surface = GameSurface::instance())
            surface->resizeFrame(next.width, next.height);
    }
    if (event)
        *event = next;
    return true;
}

Uint8* getKeyState(int* numKeys) {
    if (numKeys)
        *numKeys = KeyCount;
    return keyState;
}

void releaseAllKeys() {
    std::memset(keyState, 0, sizeof keyState);
    std::memset(pendingRelease, 0, sizeof pendingRelease);
    std::memset(pressedThisFrame, 0, sizeof pressedThisFrame);
}

void pressKey(int key) {
    if (key <= 0 || key >= KeyCount)
        return;
    keyState[key] = 1;
    pressedThisFrame[key] = 1;
    pendingRelease[key] = 0;
}

void releaseKey(int key) {
    if (key <= 0 || key >= KeyCount)
        return;
    if (pressedThisFrame[key])
        pendingRelease[key] = 1;
    else
        keyState[key] = 0;
}

void pushQuit() {
    Event quit;
    quit.type = QuitEvent;
    pushEvent(quit);
}

void catchQuitSignals() {
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        if (sigaction(number, nullptr, &action) != 0 || action.sa_handler == SIG_IGN)
            continue;
        action = {};
        action.sa_handler = onQuitSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(number, &action, nullptr);
    }
}

bool viewHidden() {
    SDL_QWidget* view = SDL_QWidget::current();
    QWidget* window = view ? view->window() : nullptr;
    QWindow* handle = window ? window->windowHandle() : nullptr;
    if (!handle || !window->isVisible())
        return false;
    if (window->isMinimized())
        return true;
    if (handle->isExposed()) {
        windowSeen = handle;
        return false;
    }
    return windowSeen == handle;
}

void pushEvent(const Event& event) {
    // A newer resize replaces one the game has not seen yet.
    if (event.type == VideoResizeEvent) {
        for (Event& queued : events) {
            if (queued.type == VideoResizeEvent) {
                queued = event;
                return;
            }
        }
    }
    events.push_back(event);
}

void pushActive(int gain) {
    Event active;
    active.type = ActiveEvent;
    active.gain = gain ? 1 : 0;
    pushEvent(active);
}

void clearEvents() {
    events.clear();
}

int translateKey(const QKeyEvent* event) {
    const int key = event->key();
    const quint32 native = event->nativeVirtualKey();
    if (event->modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return KeyKeypad0 + (key - Qt::Key_0);
        for (const KeyPair& pair : keypadKeys)
            if (pair.qt == key)
                return pair.sdl;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'a' + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F1 + (KeyF15 - KeyF1))
        return KeyF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Shift:
        return native == XShiftR ? KeyRShift : KeyLShift;
    case Qt::Key_Control:
        return native == XControlR ? KeyRCtrl : KeyLCtrl;
    case Qt::Key_Alt:
        return native == XAltR || native == XLevel3Shift ? KeyRAlt : KeyLAlt;
    case Qt::Key_Meta:
        return native == XMetaR ? KeyRMeta : KeyLMeta;
    default:
        break;
    }
    for (const KeyPair& pair : specialKeys)
        if (pair.qt == key)
            return pair.sdl;
    // Digits and punctuation: Qt's code is the character itself.
    if (key > Qt::Key_Space && key < 0x7f)
        return key;
    return 0;
}

void prepareApplication() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapInterval(0);
    QSurfaceFormat::setDefaultFormat(format);
    // The game's context and the view's share the frame texture.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void setCaption(const char* title, const char* iconTitle) {
    if (title) {
        windowCaption = title;
        if (SDL_QWidget* view = SDL_QWidget::current())
            view->window()->setWindowTitle(QString::fromUtf8(title));
    }
    if (iconTitle)
        iconCaption = iconTitle;
}

const char* caption() {
    return windowCaption.c_str();
}

bool listModes(std::vector<QSize>* modes) {
    if (!modes)
        return false;
    modes->clear();
    if (!sdlModes(modes)) {
        modes->clear();
        QSize screen(1024, 768);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::primaryScreen())
            screen = QGuiApplication::primaryScreen()->size();
        modes->push_back(screen);
        for (const auto& mode : standardModes)
            if (mode[0] <= screen.width() && mode[1] <= screen.height())
                modes->push_back(QSize(mode[0], mode[1]));
    }
    sortModes(modes);
    return !modes->empty();
}

Uint32 getTicks() {
    return ticksSource ? ticksSource() : SDL_GetTicks();
}

void delay(Uint32 ms) {
    SDL_Delay(ms);
}

void setTicksSource(Uint32 (*source)()) {
    ticksSource = source;
}

} // namespace sdlq
