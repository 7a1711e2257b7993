#include "platform/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace DisplayCheck {
namespace {

bool isXcb(const char* platform) {
    return std::strncmp(platform, "xcb", 3) == 0;
}

// Qt takes its options with one dash or two.
bool isOption(const char* arg, const char* name) {
    return std::strcmp(arg + (std::strncmp(arg, "--", 2) == 0), name) == 0;
}

} // namespace

int refuse(int argc, char** argv, std::FILE* err) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    bool chosen = platform && *platform;
    const char* display = std::getenv("DISPLAY");
    for (int k = 1; k + 1 < argc && argv[k]; ++k) {
        if (isOption(argv[k], "-platform")) {
            platform = argv[k + 1];
            chosen = true;
        } else if (isOption(argv[k], "-display")) {
            display = argv[k + 1];
        }
    }
    // Another platform, or one Qt may pick itself, judges its own display.
    if (chosen ? !isXcb(platform) : wayland && *wayland)
        return -1;
    if (!display || !*display) {
        std::fprintf(err, "orbitrax: no X display to open the window on (DISPLAY is %s)\n",
                     display ? "empty" : "not set");
        return 1;
    }
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed) {
        std::fprintf(err, "orbitrax: cannot connect to the X display \"%s\" (no server answers there)\n",
                     display);
        return 1;
    }
    return -1;
}

} // namespace DisplayCheck
