// Helpers of the window tests, and the test program's application: the game's single-instance kind.
#include "QtHarness.h"
#include "TestMain.h"

#include "platform/GameSurface.h"
#include "platform/QtSingleApplication.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

class TestApp : public tvt::QtSingleApplication {
public:
    TestApp(int& argc, char** argv) : QtSingleApplication(argc, argv, true, QString()) {}

protected:
    QMainWindow* createMainWindow() override { return new TestWindow(); }
};

// The child role "instance" says whether another instance runs (and with ORBITRAX_TEST_CRASH leaves without
// letting go of the lock).
void runRole(const QByteArray& role, TestApp& app) {
    if (role == "instance")
        std::printf("running %d\n", app.isRunning() ? 1 : 0);
    std::fflush(stdout);
    if (qEnvironmentVariableIsSet("ORBITRAX_TEST_CRASH"))
        _exit(0);
}

} // namespace

std::unique_ptr<QCoreApplication> testApplication(int& argc, char** argv) {
    auto app = std::make_unique<TestApp>(argc, argv);
    if (const QByteArray role = qgetenv("ORBITRAX_TEST_ROLE"); !role.isEmpty()) {
        runRole(role, *app);
        app.reset();
        std::exit(0);
    }
    return app;
}

TestWindow* resetWindow() {
    static TestWindow* window = nullptr;
    if (!window) {
        window = static_cast<TestWindow*>(static_cast<TestApp*>(qApp)->newMainWindow());
        EXPECT_TRUE(waitFor([] { return window->isActiveWindow(); }));
    }
    window->view->enableGrabbing(true);
    const bool windowed = sdlq::videoSurface()->w == 320 && !sdlq::videoSurface()->fullScreen;
    EXPECT_TRUE(!glAvailable() || windowed || sdlq::setVideoMode(320, 240, 0, sdlq::OpenGLFlag));
    EXPECT_TRUE(waitFor([] { return window->view->size() == window->size(); }));
    drainEvents();
    sdlq::clearEvents();
    sdlq::releaseAllKeys();
    return window;
}

bool glAvailable() {
    GameSurface* surface = GameSurface::instance();
    return surface && QGuiApplication::platformName() == QLatin1String("xcb") && surface->ensureContext();
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

std::vector<int> gameEvents() {
    std::vector<int> seen;
    for (const sdlq::Event& event : drainEvents()) {
        if (event.type == sdlq::KeyDownEvent || event.type == sdlq::QuitEvent)
            seen.push_back(event.key);
        else if (event.type == sdlq::ActiveEvent)
            seen.push_back(-1 - event.gain);
    }
    return seen;
}

void sendKey(QObject* to, int key, QEvent::Type type, const QString& text, bool autoRepeat) {
    QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(to, &event);
}

void click(QWidget* viewport, QPoint at) {
    for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                 std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

QSettings* store() {
    return tvt::QtSingleApplication::appSettings();
}

Outcome runProgram(const QString& program, const QStringList& args, const QStringList& vars,
                   const QString& folder, int ms) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& var : vars)
        env.insert(var.section('=', 0, 0), var.section('=', 1));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program, args);
    const bool ended = process.waitForFinished(ms);
    if (!ended)
        process.kill(), process.waitForFinished();
    return {!ended                                         ? 124
            : process.exitStatus() == QProcess::NormalExit ? process.exitCode()
                                                           : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

Outcome runRole(const char* role, QStringList vars) {
    vars << QStringLiteral("ORBITRAX_TEST_ROLE=") + role;
    return runProgram(QCoreApplication::applicationFilePath(), {}, vars);
}
