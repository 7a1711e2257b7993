// Loads the graphic options from an arbitrary settings file, both as a first start after a clean exit
// and as a rebuild after the options panel saved, then saves them back. Whatever the file holds, the
// options come out usable: a window of 1 to 16384 pixels a side and a known detail level.
#include "FuzzApplication.h"

#include "core/Engine.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzApplication::app->useStore(data, size);
    Engine* e = Engine::createHeadless();
    for (int step = 0; step < 3; ++step) { // the first start, the rebuild, the rebuild after saving
        if (step == 2)
            e->saveSettings();
        e->loadSettings(step > 0 ? 1 : 0);
        if (e->screenWidth <= 0 || e->screenWidth > 16384 || e->screenHeight <= 0 ||
            e->screenHeight > 16384 || e->details < 0 || e->details > 2)
            std::abort();
    }
    Engine::discard();
    return 0;
}
