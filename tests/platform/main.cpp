// Tests of the game view hosting. Child roles let a test start a second instance of the program.
#include "PlatformTestSupport.h"
#include "TestMain.h"

#include "platform/InstanceLock.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Child process roles: "hold" keeps the instance lock until killed; "probe" prints whether another
// instance runs; "settings" writes and syncs the settings store and prints its status; "present"
// prints the present chosen for the frames; "write" stores a few settings, "read" prints them.
int runRole(const QByteArray& role, TestApp& app) {
    if (role == "hold") {
        std::printf("holding %d\n", app.isRunning() ? 0 : 1);
        std::fflush(stdout);
        for (;;)
            QThread::sleep(1);
    }
    if (role == "probe") {
        std::printf("running %d\n", app.isRunning() ? 1 : 0);
        return 0;
    }
    if (role == "write") {
        app.settings()->setValue("general/Running", 0);
        app.settings()->setValue("general/ForceFeedback", 0);
        app.settings()->setValue("Graphic/Width", 800);
        return 0; // the store is written when the application goes
    }
    if (role == "read") {
        QSettings* store = app.settings();
        std::printf("%s %s %s\n", qPrintable(store->value("general/Running", -1).toString()),
                    qPrintable(store->value("general/ForceFeedback", -1).toString()),
                    qPrintable(store->value("Graphic/Width", -1).toString()));
        return 0;
    }
    if (role == "present") {
        std::printf("present %s\n", sdlq::presentMode() == sdlq::Present::Blit ? "blit" : "readback");
        return 0;
    }
    if (role == "settings") {
        app.settings()->setValue("general/Running", 1);
        app.settings()->sync();
        std::printf("status %d\n", static_cast<int>(app.settings()->status()));
        return 0;
    }
    return 3;
}

} // namespace

std::unique_ptr<QCoreApplication> testApplication(int& argc, char** argv) {
    auto app = std::make_unique<TestApp>(argc, argv);
    const QByteArray role = qgetenv("ORBITRAX_TEST_ROLE");
    if (!role.isEmpty()) {
        const int code = runRole(role, *app);
        app.reset(); // the store is written as the application goes
        std::exit(code);
    }
    return app;
}
