#pragma once

#include "platform/SDL_QMainWindow.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <QApplication>
#include <QFileInfo>
#include <QGraphicsProxyWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A main window like the game's, made through the single-instance application: the game view in the middle.
class TestWindow : public SDL_QMainWindow {
    Q_OBJECT
public:
    TestWindow() : view(new SDL_QWidget(this)) { setCentralWidget(view); }
    SDL_QWidget* view;
};

// The one test window, shown; back to windowed 320 x 240 with grabbing on, nothing queued or held.
TestWindow* resetWindow();
bool glAvailable();
// Serves Qt until the condition holds; false when it still does not after the limit.
bool waitFor(const std::function<bool()>& condition, int ms = 20000);
std::vector<sdlq::Event> drainEvents();
// Drains the queue, in short: a key down as its keysym, quit 0, focus lost -1, focus back -2.
std::vector<int> gameEvents();
void sendKey(QObject* to, int key, QEvent::Type type = QEvent::KeyPress, const QString& text = {},
             bool autoRepeat = false);
void click(QWidget* viewport, QPoint at);
QSettings* store();

struct Outcome {
    int code = -1; // 124: it ran past its time
    QString out, err;
};
// Runs a program to its end, with `vars` ("NAME=value") added to this process's environment.
Outcome runProgram(const QString& program, const QStringList& args, const QStringList& vars = {},
                   const QString& folder = {}, int ms = 60000);
// This test program again, in a child role (see QtHarness.cpp).
Outcome runRole(const char* role, QStringList vars = {});
