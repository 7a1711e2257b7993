#include "FuzzApplication.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

FuzzApplication* FuzzApplication::start() {
    static int argc = 1;
    static char name[] = "orbitrax-fuzz";
    static char* argv[] = {name, nullptr};
    const QString base = QDir::tempPath() + "/orbitrax-fuzz-" + QString::number(getpid());
    for (const char* sub : {"home", "config", "runtime"})
        QDir().mkpath(base + "/" + sub);
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("HOME", (base + "/home").toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (base + "/config").toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", (base + "/runtime").toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    QCoreApplication::setOrganizationName("Torvik");
    QCoreApplication::setApplicationName("Torvik Orbitrax");
    auto* app = new FuzzApplication(argc, argv, true, "/Library/Preferences");
    app->storePath = base + "/config/fuzzed.conf";
    return app;
}

void FuzzApplication::useStore(const char* data, size_t size) {
    current.reset();
    QFile file(storePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(data, static_cast<qint64>(size));
    file.close();
    current = std::make_unique<QSettings>(storePath, QSettings::IniFormat);
}
