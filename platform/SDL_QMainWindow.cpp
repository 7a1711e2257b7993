#include "platform/SDL_QMainWindow.h"

#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <QCloseEvent>

SDL_QMainWindow::SDL_QMainWindow(QWidget* parent, Qt::WindowFlags flags) : QMainWindow(parent, flags) {}

SDL_QMainWindow::~SDL_QMainWindow() = default;

SDL_QWidget* SDL_QMainWindow::getSDLWidget() {
    return findChild<SDL_QWidget*>();
}

void SDL_QMainWindow::setHasCustomLayout(bool custom) {
    customLayout = custom;
}

void SDL_QMainWindow::quitSDL() {
    sdlq::pushQuit();
}

void SDL_QMainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Without a layout of its own the game view fills the window.
    if (!customLayout && !centralWidget()) {
        if (SDL_QWidget* view = getSDLWidget(); view && view->parentWidget() == this)
            view->setGeometry(rect());
    }
}

void SDL_QMainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
}

void SDL_QMainWindow::closeEvent(QCloseEvent* event) {
    // The game ends through its own loop; the application object then destroys the window.
    event->ignore();
    quitSDL();
}
