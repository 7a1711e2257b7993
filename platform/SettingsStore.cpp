#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>

#include <cstdio>

namespace tvt {
namespace {

constexpr const char* StoreOrganisation = "Torvik";
constexpr const char* StoreApplication = "Torvik Orbitrax";

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Qt writes one line per key, sections between: a file cut short by a full disk holds fewer (or none).
bool holdsKeys(const QByteArray& text, qsizetype keys) {
    qsizetype lines = 0;
    for (const QByteArray& line : text.split('\n'))
        lines += !line.isEmpty() && !line.startsWith('[');
    return lines == keys && (keys == 0 || text.endsWith('\n'));
}

// Qt's INI files write a group named "general" as "[%General]" and read it back as "General": the
// game's "general/..." keys would be lost at every start. Bring them back under their own name, so
// that the file holds one such section.
bool restoreGeneralGroup(QSettings* store) {
    const QString misread = QStringLiteral("General/");
    bool found = false;
    for (const QString& key : store->allKeys()) {
        if (!key.startsWith(misread))
            continue;
        const QString own = QStringLiteral("general/") + key.mid(misread.size());
        if (!store->contains(own))
            store->setValue(own, store->value(key));
        store->remove(key);
        found = true;
    }
    return found;
}

} // namespace

SettingsStore::SettingsStore(bool writable) : writable(writable) {
    path = QSettings(QSettings::NativeFormat, QSettings::UserScope, StoreOrganisation, StoreApplication)
               .fileName();
    if (writable)
        recoverAtStart();
    store = new QSettings(QSettings::NativeFormat, QSettings::UserScope, StoreOrganisation, StoreApplication);
    const QByteArray text = fileBytes(path);
    if (holdsKeys(text, store->allKeys().size()))
        goodCopy = text;
    const QString backup = path + QStringLiteral(".bak");
    if (writable && !goodCopy.isEmpty() && !QFileInfo::exists(backup))
        writeCopy(backup, goodCopy);
    // A second instance changes nothing, so that even its QSettings has nothing to write.
    if (writable)
        restoreGeneralGroup(store);
}

SettingsStore::~SettingsStore() {
    delete store;
}

// A store left empty or unreadable by an earlier run comes back from the last good copy.
void SettingsStore::recoverAtStart() {
    const QFileInfo info(path);
    const QString backup = path + QStringLiteral(".bak");
    if (!info.exists() || (info.size() > 0 && info.isReadable()) || !QFileInfo(backup).size())
        return;
    const bool restored = writeCopy(path, fileBytes(backup));
    std::fprintf(stderr, "%s\n",
                 qPrintable(restored ? QStringLiteral("%1 was empty: restored the last good copy").arg(path)
                                     : failureMessage(path, writeFailure())));
}

QString SettingsStore::sync() {
    if (!writable)
        return QString();
    store->sync();
    // Changes read back from a file another writer touched come back under "General" too.
    if (restoreGeneralGroup(store))
        store->sync();
    const QByteArray written = fileBytes(path);
    if (store->status() == QSettings::NoError && holdsKeys(written, store->allKeys().size())) {
        if (written != goodCopy && writeCopy(path + QStringLiteral(".bak"), written))
            goodCopy = written;
        told.clear();
        return QString();
    }
    const QString message = failureMessage(path, writeFailure());
    // Qt renames a file it could not fill over the store: put the last good one back.
    if (written != goodCopy && !goodCopy.isEmpty())
        writeCopy(path, goodCopy);
    if (message != told)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    told = message;
    return message;
}

QString SettingsStore::failureMessage(const QString& path, const QString& reason) {
    return QCoreApplication::translate("SettingsStore", "Couldn't save the high scores to %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Why the file cannot be written: the file itself, its folder, or the room for a copy of it.
QString SettingsStore::writeFailure() const {
    QFile file(path);
    if (file.exists() && !file.open(QIODevice::Append | QIODevice::ExistingOnly))
        return file.errorString();
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    QTemporaryFile probe(folder + QStringLiteral("/.probe-XXXXXX"));
    if (!probe.open())
        return probe.errorString();
    probe.write(QByteArray(qMax<qsizetype>(goodCopy.size(), 4096), ' '));
    if (!probe.flush())
        return probe.errorString();
    return QCoreApplication::translate("SettingsStore", "it did not read back whole");
}

// QSaveFile renames even a file it could not fill, unless the flush is checked first.
bool SettingsStore::writeCopy(const QString& target, const QByteArray& bytes) const {
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

} // namespace tvt
