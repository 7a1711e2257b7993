#include "platform/KeyRouter.h"

#include "platform/GameSurface.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <QApplication>
#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {
KeyRouter* theRouter = nullptr;

// A field that takes typed text: a name typed there is no game key.
bool isTextField(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

// F11 and Alt+Enter switch the screen mode even in play.
bool isScreenModeKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F11)
        return mods == Qt::NoModifier;
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::AltModifier;
}
} // namespace

KeyRouter::KeyRouter(QObject* parent) : QObject(parent) {}

void KeyRouter::install() {
    if (theRouter || !QCoreApplication::instance())
        return;
    theRouter = new KeyRouter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(theRouter);
    QObject::connect(theRouter, &QObject::destroyed, [] { theRouter = nullptr; });
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Shortcut:
    case QEvent::Timer:
    case QEvent::MetaCall:
        // Slots run by input and timers call into the game, which draws with its own context.
        if (GameSurface* surface = GameSurface::instance())
            surface->restoreCurrent();
        break;
    default:
        break;
    }
    if (dispatching || !watched->isWidgetType())
        return false;
    SDL_QWidget* view = SDL_QWidget::current();
    if (!view)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (widget->window() != view->window())
            return false; // overlay widgets hear of the key through the view
        return routeKey(widget, static_cast<QKeyEvent*>(event), view);
    case QEvent::ShortcutOverride:
        // While the game grabs, a key is a key: no shortcut may take it.
        if (view->isGrabbing() && widget->window() == view->window() &&
            !isScreenModeKey(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::WindowDeactivate:
        // Releases would go to another window: nothing may stay held.
        if (widget == view->window()) {
            sdlq::releaseAllKeys();
            sdlq::pushActive(0);
        }
        return false;
    case QEvent::WindowActivate:
        if (widget == view->window())
            sdlq::pushActive(1);
        return false;
    case QEvent::WindowStateChange:
        if (widget == view->window() && widget->isMinimized())
            sdlq::pushActive(0);
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return view->isGrabbing() && widget == view->viewport();
    default:
        return false;
    }
}

bool KeyRouter::routeKey(QWidget* receiver, QKeyEvent* event, SDL_QWidget* view) {
    const bool toView = receiver == view || receiver == view->viewport();
    // What is typed into a name field belongs to the field alone, whether the field sits in an
    // overlay of the scene or is a plain child of the view (the score table's name). Escape still
    // reaches the game, which closes the screen.
    const bool typing = !view->isGrabbing() && event->key() != Qt::Key_Escape &&
                        (toView ? view->textFieldHasFocus() : isTextField(receiver));
    // A key without a name of its own (ä, the Menu key, media keys) is still a key to the game.
    const int named = sdlq::translateKey(event);
    const int key = named ? named : sdlq::KeyOther;
    if (key > 0 && key < sdlq::KeyCount && !event->isAutoRepeat()) {
        if (event->type() == QEvent::KeyRelease) {
            sdlq::releaseKey(key);
        } else if (!typing) {
            sdlq::pressKey(key);
            sdlq::Event down;
            down.type = sdlq::KeyDownEvent;
            down.key = key;
            sdlq::pushEvent(down);
        }
    }
    if (view->isGrabbing()) {
        event->accept();
        return true;
    }
    // Deliver it once, with Qt's own propagation, so that no parent sees it a second time here.
    dispatching = true;
    QCoreApplication::sendEvent(receiver, event);
    dispatching = false;
    event->accept();
    return true;
}
