// Loads the graphic options from an arbitrary settings file, both as a first start after a clean
// exit and as a rebuild after the options panel saved, then saves them back. Whatever the file
// holds, the options must come out usable: a window size that can exist and a known detail level.
#include "FuzzApplication.h"

#include "core/Engine.h"

#include <cstdint>
#include <cstdlib>

namespace {

FuzzApplication* app = nullptr;

// A window of 1 to 16384 pixels a side and a known detail level.
void checkUsable(const Engine* e) {
    if (e->screenWidth <= 0 || e->screenWidth > 16384 || e->screenHeight <= 0 || e->screenHeight > 16384 ||
        e->details < 0 || e->details > 2)
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
