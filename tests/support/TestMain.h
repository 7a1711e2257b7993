#pragma once

#include <QCoreApplication>

#include <memory>

// The application object of a test program. The shared main makes a QApplication; a folder that needs
// another (a single-instance application, child-process roles) defines this function itself.
std::unique_ptr<QCoreApplication> testApplication(int& argc, char** argv);
