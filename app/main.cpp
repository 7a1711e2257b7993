#include "app/GameApp.h"
#include "platform/CommandLine.h"
#include "platform/DisplayCheck.h"

#include <cstdio>

int main(int argc, char** argv) {
    // --help and --version answer before any window or single-instance check.
    const int answered = CommandLine::answer(argc, argv, stdout);
    if (answered >= 0)
        return answered;
    // Qt would abort without a display: say so and leave.
    if (const int refused = DisplayCheck::refuse(argc, argv, stderr); refused >= 0)
        return refused;
    return GameApp::run(argc, argv);
}
