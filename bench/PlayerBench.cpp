// One frame's logic (move, collide, remove) with the ship at weapon level 7 firing without pause.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/SpriteKind.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

Uint32 benchTicks = 1;
Uint32 readBenchTicks() {
    return benchTicks;
}

// An enemy that soaks up shots without dying, so the missiles always have something to chase.
class Dummy : public Sprite {
public:
    Dummy(List* owner, float x, float z) : Sprite(owner, KindFighter, x, 0.5f, z) {
        sizeX = sizeY = sizeZ = 1.5f;
        isTarget = true;
    }
    void draw() override {}
    void collide(Sprite*) override {}
};

// A tapping player lets go for one frame in fifty, so most salvos come at the rapid 120 ms pace.
void frame(ListSprite& list, Engine* engine, bool tapping) {
    static long long n = 0;
    benchTicks += 15; // one tick per frame
    sdlq::getKeyState()['w'] = (tapping && ++n % 50 == 0) ? 0 : 1;
    list.moveAll();
    list.collideAll();
    if (engine->ship && engine->ship->dead)
        engine->ship = nullptr;
    list.removeDead();
}

void playerFrame(benchmark::State& state) {
    Engine* engine = Engine::createHeadless();
    engine->frameStep = 1.0f;
    engine->details = 2;
    sdlq::setTicksSource(readBenchTicks);
    sdlq::releaseAllKeys();
    sdlq::getKeyState()['w'] = 1;
    std::srand(1);
    ListSprite list;
    auto* ship = new MyShip(&list, 100);
    list.add(ship);
    engine->ship = ship;
    ship->weaponLevel = 7;
    ship->shipState = MyShip::Flying;
    ship->z = 10;
    const int targets = static_cast<int>(state.range(0));
    const bool tapping = state.range(1) != 0;
    for (int i = 0; i < targets; ++i)
        list.add(new Dummy(&list, static_cast<float>(i % 5) * 4.0f - 8.0f,
                           40.0f + static_cast<float>(i / 5) * 5.0f));
    // Reach the steady state of bolts, missiles, trails and explosions first.
    for (int i = 0; i < 400; ++i)
        frame(list, engine, tapping);

    long long sprites = 0, frames = 0;
    for (auto _ : state) {
        frame(list, engine, tapping);
        sprites += list.count;
        frames++;
    }
    state.counters["sprites"] = frames ? static_cast<double>(sprites) / static_cast<double>(frames) : 0.0;
    state.counters["targets"] = targets;
    state.counters["tapping"] = tapping;
    sdlq::getKeyState()['w'] = 0;
    list.destroyAll();
    sdlq::setTicksSource(nullptr);
    Engine::discard();
}

} // namespace

BENCHMARK(playerFrame)
    ->Args({0, 0})
    ->Args({10, 0})
    ->Args({30, 0})
    ->Args({0, 1})
    ->Args({10, 1})
    ->Args({30, 1})
    ->Unit(benchmark::kMicrosecond);
