// The pad mapping file is reported on stderr once, at start, only when it is there and cannot be read.
#include "platform/Gamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// As another user when run as root: a pad plugged in before the mappings were read (which says nothing),
// then the game's start.
void padPluggedThenGameStarted(const char* config) {
    if ((geteuid() == 0 && setuid(65534) != 0) || setenv("XDG_CONFIG_HOME", config, 1) != 0 ||
        setenv("SDL_JOYSTICK_HIDAPI", "0", 1) != 0 || SDL_Init(SDL_INIT_GAMECONTROLLER) != 0)
        std::exit(3);
    SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    const bool plugged = Gamepad::pumpEvents() == Gamepad::Change::Opened;
    Gamepad::close();
    Gamepad::forgetMappings();
    Gamepad::open();
    std::exit(plugged ? 0 : 4);
}

// Each death test runs this body again: the first process names the folder.
TEST(PadMappingMessage, SaidOnceAtStartOnlyForAFileThatCannotBeRead) {
    const std::string own = "orbitrax-pad-" + std::to_string(getpid());
    setenv("ORBITRAX_PAD_CONFIG", (fs::temp_directory_path() / own).c_str(), 0);
    const fs::path config = std::getenv("ORBITRAX_PAD_CONFIG"),
                   file = config / "Torvik" / "gamecontrollerdb.txt";
    fs::create_directories(file.parent_path());
    fs::permissions(config, fs::perms(0755));
    fs::permissions(file.parent_path(), fs::perms(0755));
    const std::string line = "^Couldn't read the gamepad mappings in '" + file.string() + "': ";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& [kind, said] : {std::pair{'-', std::string("^$")},
                                     {'d', line + "not a file\n$"},
                                     {'f', line + "Permission denied\n$"}}) {
        fs::remove_all(file);
        if (kind == 'd')
            fs::create_directory(file);
        if (kind == 'f' && std::ofstream(file) << "#\n")
            fs::permissions(file, fs::perms::none);
        EXPECT_EXIT(padPluggedThenGameStarted(config.c_str()), testing::ExitedWithCode(0), said) << kind;
    }
    if (config.filename() == own)
        fs::remove_all(config);
}

} // namespace
