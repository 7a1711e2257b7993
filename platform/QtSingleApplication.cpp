#include "platform/QtSingleApplication.h"

#include "platform/InstanceLock.h"
#include "platform/SdlCompat.h"
#include "platform/SettingsStore.h"

#include <QMainWindow>
#include <QPointer>
#include <QSettings>

#include <cstdio>

namespace tvt {
namespace {

// The OpenGL defaults must be in place before the QApplication base is built.
int& preparedArgc(int& argc) {
    sdlq::prepareApplication();
    return argc;
}

// The store of a process without a QtSingleApplication (tests).
SettingsStore* sharedStore() {
    static SettingsStore* shared = new SettingsStore(true);
    return shared;
}

} // namespace

QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool, const QString&)
    : QApplication(preparedArgc(argc), argv) {
    // The preferences path only means something on the Mac.
    instanceLock = new InstanceLock(InstanceLock::defaultPath());
    instanceLock->acquire();
    otherInstance = instanceLock->heldByOther();
    if (otherInstance)
        std::fprintf(
            stderr, "%s: already running as process %lld (lock file %s); not starting a second copy\n",
            qPrintable(applicationName()), instanceLock->holderPid(), qPrintable(instanceLock->path()));
    // A second instance leaves the store to the first.
    store = new SettingsStore(!otherInstance);
}

QtSingleApplication::~QtSingleApplication() {
    // The windows go first: their destructors still write settings.
    for (const QPointer<QMainWindow>& window : windows)
        delete window.data();
    windows.clear();
    sdlq::shutdownVideo();
    if (store)
        store->sync();
    delete store;
    store = nullptr;
    delete instanceLock;
}

bool QtSingleApplication::isRunning() const {
    return otherInstance;
}

QMainWindow* QtSingleApplication::newMainWindow() {
    QMainWindow* window = createMainWindow();
    if (!window)
        return nullptr;
    mainWindow = window;
    windows.push_back(window);
    window->show();
    // Without a window manager no window becomes active by itself.
    window->raise();
    window->activateWindow();
    return window;
}

QSettings* QtSingleApplication::settings() {
    return store ? store->settings() : nullptr;
}

QSettings* QtSingleApplication::appSettings() {
    if (auto* app = qobject_cast<QtSingleApplication*>(QCoreApplication::instance())) {
        if (QSettings* own = app->settings())
            return own;
    }
    return sharedStore()->settings();
}

QString QtSingleApplication::syncSettings() {
    auto* app = qobject_cast<QtSingleApplication*>(QCoreApplication::instance());
    return (app && app->store ? app->store : sharedStore())->sync();
}

} // namespace tvt
