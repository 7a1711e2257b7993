#pragma once

#include "platform/QtSingleApplication.h"
#include "platform/SDL_QMainWindow.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <QImage>
#include <QKeyEvent>

#include <functional>
#include <vector>

// A main window like the game's: the game view as its central widget.
class TestWindow : public SDL_QMainWindow {
    Q_OBJECT
public:
    TestWindow();
    SDL_QWidget* view;
};

class TestApp : public tvt::QtSingleApplication {
    Q_OBJECT
public:
    TestApp(int& argc, char** argv);

protected:
    QMainWindow* createMainWindow() override;
};

// The one window of the test process, made and shown through the application on first use.
TestWindow* testWindow();
// Back to a quiet window: no queued events, no held keys, grabbing on, windowed 320 x 240.
void resetWindow();
// Serves Qt until the condition holds or the time runs out.
bool waitFor(const std::function<bool()>& condition, int ms = 3000);
std::vector<sdlq::Event> drainEvents();
std::vector<int> keyDowns(const std::vector<sdlq::Event>& events);
void sendKey(QWidget* to, QEvent::Type type, int key, const QString& text = QString(),
             bool autoRepeat = false, quint32 nativeKey = 0);
// What the screen shows where the game view is.
QImage grabView();
// Mean colour of a rectangle given in fractions of the image.
QColor meanColor(const QImage& image, double x0, double y0, double x1, double y1);
bool glAvailable();
