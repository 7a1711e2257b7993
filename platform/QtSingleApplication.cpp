#include "platform/QtSingleApplication.h"

#include "platform/InstanceLock.h"
#include "platform/SdlCompat.h"

#include <QMainWindow>
#include <QPointer>
#include <QSettings>

#include <cstdio>

namespace tvt {
namespace {

constexpr const char* organisation = "Torvik";
constexpr const char* application = "Torvik Orbitrax";

// The OpenGL defaults must be in place before the QApplication base is built.
int& preparedArgc(int& argc) {
    sdlq::prepareApplication();
    return argc;
}

// Qt's INI files write a group named "general" as "[%General]" and read it back as "General": the
// game's "general/..." keys would be lost at every start. Bring them back under their own name
// (written once, the file then holds a single such section).
void restoreGeneralGroup(QSettings* store) {
    const QString misread = QStringLiteral("General/");
    for (const QString& key : store->allKeys()) {
        if (!key.startsWith(misread))
            continue;
        const QString own = QStringLiteral("general/") + key.mid(misread.size());
        if (!store->contains(own))
            store->setValue(own, store->value(key));
        store->remove(key);
    }
}

QSettings* makeStore(QObject* parent) {
    auto* store =
        new QSettings(QSettings::NativeFormat, QSettings::UserScope, organisation, application, parent);
    restoreGeneralGroup(store);
    return store;
}

} // namespace

QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool, const QString&)
    : QApplication(preparedArgc(argc), argv) {
    // The preferences path only means something on the Mac.
    store = makeStore(this);
    instanceLock = new InstanceLock(InstanceLock::defaultPath());
    instanceLock->acquire();
    otherInstance = instanceLock->heldByOther();
    if (otherInstance)
        std::fprintf(
            stderr, "%s: already running as process %lld (lock file %s); not starting a second copy\n",
            qPrintable(applicationName()), instanceLock->holderPid(), qPrintable(instanceLock->path()));
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
    return store;
}

QSettings* QtSingleApplication::appSettings() {
    if (auto* app = qobject_cast<QtSingleApplication*>(QCoreApplication::instance())) {
        if (QSettings* own = app->settings())
            return own;
    }
    static QSettings* shared = makeStore(nullptr);
    return shared;
}

} // namespace tvt
