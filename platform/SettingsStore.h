#pragma once

#include <QByteArray>
#include <QString>

class QSettings;

namespace tvt {

// The per-user settings file, written so that a failed write never costs what was stored: each write is
// checked and read back, the last good copy is kept beside the file, and a file that came out empty is
// put back from it. A second instance only reads.
class SettingsStore {
public:
    explicit SettingsStore(bool writable);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QSettings* settings() const { return store; }
    // Writes the pending changes: empty when the file holds them all, else the failure message (said on
    // stderr once for as long as the same failure lasts).
    QString sync();
    // The line under the score table and on stderr when a write fails.
    static QString failureMessage(const QString& path, const QString& reason);

private:
    void recoverAtStart();
    QString writeFailure() const;
    bool writeCopy(const QString& target, const QByteArray& bytes) const;

    QSettings* store = nullptr;
    QString path;
    // The file as last read back whole, and the message last said on stderr.
    QByteArray goodCopy;
    QString told;
    bool writable;
};

} // namespace tvt
