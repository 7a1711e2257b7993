#include "platform/FileUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tvx {
namespace {

QString executableFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Before the application exists: the running executable itself.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

} // namespace

QString FileUtils::applicationResourceFolder() {
    const QByteArray chosen = qgetenv("ORBITRAX_RESOURCE_DIR");
    if (!chosen.isEmpty())
        return QString::fromLocal8Bit(chosen);
    const QString folder = executableFolder();
    // A build tree keeps the data beside the executable.
    if (QDir(folder).exists(QStringLiteral("Resources")))
        return folder;
    return QDir::cleanPath(folder + QStringLiteral("/../share/orbitrax"));
}

} // namespace tvx
