#include "app/GameApp.h"
#include "platform/CommandLine.h"

#include <cstdio>

int main(int argc, char** argv) {
    // --help and --version answer before any window or single-instance check.
    const int answered = CommandLine::answer(argc, argv, stdout);
    if (answered >= 0)
        return answered;
    return GameApp::run(argc, argv);
}
