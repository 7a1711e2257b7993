// These tests run on Qt's offscreen platform: no X server needed.
#include "TestMain.h"

#include <QApplication>

std::unique_ptr<QCoreApplication> testApplication(int& argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}
