#include "FuzzApplication.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <cstdlib>

namespace {

int argcStorage = 1;
char programName[] = "orbitrax-fuzz";
char* argvStorage[] = {programName, nullptr};

QString makeScratch() {
    char pattern[] = "/tmp/orbitrax-fuzz-XXXXXX";
    const char* root = mkdtemp(pattern);
    if (!root)
        std::abort();
    const QString base = QString::fromLocal8Bit(root);
    for (const char* sub : {"home", "config", "runtime"})
        QDir().mkpath(base + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return base;
}

} // namespace

FuzzApplication::FuzzApplication(int& argc, char** argv)
    : tvt::QtSingleApplication(argc, argv, true, QStringLiteral("/Library/Preferences")) {}

FuzzApplication* FuzzApplication::start() {
    const QString base = makeScratch();
    setenv("HOME", (base + QStringLiteral("/home")).toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", (base + QStringLiteral("/runtime")).toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    QCoreApplication::setOrganizationName(QStringLiteral("Torvik"));
    QCoreApplication::setApplicationName(QStringLiteral("Torvik Orbitrax"));
    auto* app = new FuzzApplication(argcStorage, argvStorage);
    app->storePath = base + QStringLiteral("/config/fuzzed.conf");
    return app;
}

QSettings* FuzzApplication::useStore(const char* data, size_t size) {
    dropStore();
    QFile file(storePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(data, static_cast<qint64>(size));
    file.close();
    current = new QSettings(storePath, QSettings::IniFormat);
    return current;
}

void FuzzApplication::dropStore() {
    delete current;
    current = nullptr;
}

QSettings* FuzzApplication::settings() {
    return current ? current : tvt::QtSingleApplication::settings();
}

QMainWindow* FuzzApplication::createMainWindow() {
    return nullptr;
}
