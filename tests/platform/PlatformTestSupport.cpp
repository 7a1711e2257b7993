#include "PlatformTestSupport.h"

#include "platform/GameSurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

TestWindow::TestWindow() : view(new SDL_QWidget(this)) {
    setCentralWidget(view);
}

TestApp::TestApp(int& argc, char** argv)
    : tvt::QtSingleApplication(argc, argv, true, QStringLiteral("/Library/Preferences")) {}

QMainWindow* TestApp::createMainWindow() {
    return new TestWindow();
}

TestWindow* testWindow() {
    static TestWindow* window = nullptr;
    if (!window) {
        window = static_cast<TestWindow*>(static_cast<TestApp*>(qApp)->newMainWindow());
        waitFor([] { return window->isVisible() && window->isActiveWindow(); });
    }
    return window;
}

void resetWindow() {
    TestWindow* window = testWindow();
    window->view->enableGrabbing(true);
    if (glAvailable() && (sdlq::videoSurface()->w != 320 || sdlq::videoSurface()->fullScreen))
        sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag);
    window->raise();
    window->activateWindow();
    waitFor([window] { return window->isActiveWindow() && window->view->size() == window->size(); }, 1000);
    drainEvents();
    sdlq::clearEvents();
    sdlq::releaseAllKeys();
}

bool waitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

std::vector<sdlq::Event> drainEvents() {
    std::vector<sdlq::Event> events;
    sdlq::Event event;
    while (sdlq::pollEvent(&event))
        events.push_back(event);
    return events;
}

std::vector<int> keyDowns(const std::vector<sdlq::Event>& events) {
    std::vector<int> keys;
    for (const sdlq::Event& event : events)
        if (event.type == sdlq::KeyDownEvent)
            keys.push_back(event.key);
    return keys;
}

void sendKey(QWidget* to, QEvent::Type type, int key, const QString& text, bool autoRepeat,
             quint32 nativeKey) {
    QKeyEvent event(type, key, Qt::NoModifier, 0, nativeKey, 0, text, autoRepeat);
    QApplication::sendEvent(to, &event);
}

QImage grabView() {
    QWidget* viewport = testWindow()->view->viewport();
    const QPoint origin = viewport->mapToGlobal(QPoint(0, 0));
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0, origin.x(), origin.y(), viewport->width(), viewport->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QColor meanColor(const QImage& image, double x0, double y0, double x1, double y1) {
    long long sum[3] = {0, 0, 0};
    long long count = 0;
    for (int y = int(y0 * image.height()); y < int(y1 * image.height()); ++y) {
        for (int x = int(x0 * image.width()); x < int(x1 * image.width()); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qBlue(pixel);
            ++count;
        }
    }
    if (!count)
        return QColor();
    return QColor(int(sum[0] / count), int(sum[1] / count), int(sum[2] / count));
}

bool glAvailable() {
    GameSurface* surface = GameSurface::instance();
    return surface && QGuiApplication::platformName() == QLatin1String("xcb") && surface->ensureContext();
}
