#pragma once

#include <QApplication>
#include <QPointer>

#include <vector>

class QMainWindow;
class QSettings;

namespace tvt {

class InstanceLock;
class SettingsStore;

// Single-instance application with one per-user settings store for the whole run.
class QtSingleApplication : public QApplication {
    Q_OBJECT
public:
    QtSingleApplication(int& argc, char** argv, bool gui, const QString& preferencesPath);
    ~QtSingleApplication() override;

    // True when another instance of the program already runs (a lock file in the runtime folder;
    // a stale lock left by a killed process is taken over).
    bool isRunning() const;
    // Creates the main window through the factory, shows it and activates it.
    QMainWindow* newMainWindow();
    virtual QSettings* settings();

    // The settings store of the running application, or a process-wide store with the same
    // organisation and application names when no QtSingleApplication exists (tests).
    static QSettings* appSettings();
    // Writes the application's settings: empty when the file holds them, else the failure message.
    static QString syncSettings();

protected:
    virtual QMainWindow* createMainWindow() = 0;

private:
    SettingsStore* store = nullptr;
    InstanceLock* instanceLock = nullptr;
    bool otherInstance = false;
    QMainWindow* mainWindow = nullptr;
    // Every main window made, destroyed with the application.
    std::vector<QPointer<QMainWindow>> windows;
};

} // namespace tvt
