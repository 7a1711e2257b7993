// Loads the graphic options from an arbitrary settings file, both as a first start after a clean
// exit and as a rebuild after the options panel saved, then saves them back. Whatever the file
// holds, the options must come out usable: a window size that can exist and a known detail level.
#include "FuzzApplication.h"

#include "core/Engine.h"

#include <QSettings>

#include <cstdint>
#include <cstdlib>

namespace {

FuzzApplication* app = nullptr;

constexpr int MaxSide = 16384;

void checkUsable(const Engine* engine) {
    if (engine->screenWidth <= 0 || engine->screenWidth > MaxSide)
        std::abort();
    if (engine->screenHeight <= 0 || engine->screenHeight > MaxSide)
        std::abort();
    if (engine->details < 0 || engine->details > 2)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    app = FuzzApplication::start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    app->useStore(reinterpret_cast<const char*>(data), size);
    Engine* engine = Engine::createHeadless();
    for (int expected : {0, 1}) {
        engine->loadSettings(expected);
        checkUsable(engine);
    }
    engine->saveSettings();
    engine->loadSettings(1);
    checkUsable(engine);
    Engine::discard();
    return 0;
}
