#include "FuzzApplication.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

FuzzApplication* FuzzApplication::app = nullptr;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzApplication::start();
    return 0;
}

void FuzzApplication::start() {
    static int argc = 1;
    static char name[] = "orbitrax-fuzz";
    static char* argv[] = {name, nullptr};
    const QString base = QDir::tempPath() + "/orbitrax-fuzz-" + QString::number(getpid());
    for (auto [variable, folder] :
         {std::pair{"HOME", "/home"}, {"XDG_CONFIG_HOME", "/config"}, {"XDG_RUNTIME_DIR", "/runtime"}}) {
        QDir().mkpath(base + folder);
        setenv(variable, (base + folder).toLocal8Bit().constData(), 1);
    }
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    QCoreApplication::setOrganizationName("Torvik");
    QCoreApplication::setApplicationName("Torvik Orbitrax");
    app = new FuzzApplication(argc, argv, true, "/Library/Preferences");
    app->storePath = base + "/config/fuzzed.conf";
}

void FuzzApplication::useStore(const uint8_t* data, size_t size) {
    current.reset();
    QFile file(storePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    current = std::make_unique<QSettings>(storePath, QSettings::IniFormat);
}
