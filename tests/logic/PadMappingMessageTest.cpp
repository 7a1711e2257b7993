// The pad mapping file is reported on stderr once, at start, when it is there and cannot be read; a pad
// plugged in while the game runs prints nothing, and no file says nothing.
#include "platform/Gamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// In the death test's own process, as another user when run as root: a pad plugged in before the
// mappings were ever read, then the game's start.
void padPluggedThenGameStarted(const std::string& config) {
    if (geteuid() == 0 && setuid(65534) != 0)
        std::exit(4);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("SDL_JOYSTICK_HIDAPI", "0", 1);
    setenv("SDL_LINUX_JOYSTICK_CLASSIC", "0", 1);
    if (SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0)
        std::exit(3);
    SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    const bool plugged = Gamepad::pumpEvents() == Gamepad::Change::Opened;
    Gamepad::close();
    Gamepad::forgetMappings();
    Gamepad::open();
    Gamepad::close();
    std::exit(plugged ? 0 : 5);
}

// The death tests run this body again in a process of their own: the folder is the first process's, and
// each case lays out its file whatever was there.
TEST(PadMappingMessage, SaidOnceAtStartOnlyForAFileThatCannotBeRead) {
    namespace fs = std::filesystem;
    const std::string own = fs::temp_directory_path() / ("orbitrax-pad-" + std::to_string(getpid()));
    setenv("ORBITRAX_PAD_CONFIG", own.c_str(), 0);
    const fs::path config = std::getenv("ORBITRAX_PAD_CONFIG");
    const fs::path file = config / "Torvik" / "gamecontrollerdb.txt";
    fs::create_directories(file.parent_path());
    for (const fs::path& folder : {config, file.parent_path()})
        fs::permissions(folder, fs::perms(0755));
    const std::string line = "^Couldn't read the gamepad mappings in '" + file.string() + "': ";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& [kind, said] : {std::pair{"none", std::string("^$")},
                                     {"folder", line + "not a file\n$"},
                                     {"root's own", line + "Permission denied\n$"}}) {
        fs::remove_all(file);
        if (kind[0] == 'f')
            fs::create_directory(file);
        if (kind[0] == 'r') {
            std::ofstream(file) << "# the owner's own\n";
            fs::permissions(file, fs::perms::none);
        }
        EXPECT_EXIT(padPluggedThenGameStarted(config), testing::ExitedWithCode(0), said) << kind;
    }
    if (own == config) {
        fs::remove_all(config);
        unsetenv("ORBITRAX_PAD_CONFIG");
    }
}

} // namespace
