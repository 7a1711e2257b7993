#include "platform/CommandLine.h"

#include <cstring>

namespace CommandLine {
namespace {

constexpr const char* usageText = "Usage: orbitrax [--help] [--version] [Qt options]\n"
                                  "Orbitrax, a 3D arcade shooter over an endless floor in space.\n"
                                  "\n"
                                  "  -h, --help   print this text and exit\n"
                                  "  --version    print the version and exit\n"
                                  "\n"
                                  "Other arguments go to Qt, for example -platform xcb.\n"
                                  "Options and high scores: ~/.config/Torvik/Torvik Orbitrax.conf\n"
                                  "Extra gamepad mappings: ~/.config/Torvik/gamecontrollerdb.txt\n";

} // namespace

const char* versionText() {
    return "Orbitrax " ORBITRAX_VERSION;
}

int answer(int argc, char** argv, std::FILE* out) {
    for (int k = 1; k < argc && argv[k]; ++k) {
        const char* arg = argv[k];
        if (std::strcmp(arg, "--") == 0)
            break;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(usageText, out);
            std::fflush(out);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::fprintf(out, "%s\n", versionText());
            std::fflush(out);
            return 0;
        }
    }
    return -1;
}

} // namespace CommandLine
