// The wave generator alone, and a whole play frame of game logic (move, waves, collisions, removal) at the
// crowd a late game keeps on the field.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Waves.h"
#include "core/World.h"
#include "enemies/Fighter2.h"
#include "enemies/Ship1.h"
#include "enemies/Tank.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

Uint32 benchNow = 1000;
Uint32 benchTicks() {
    return benchNow;
}

void startGame(int score) {
    sdlq::setTicksSource(benchTicks);
    Engine* engine = Engine::createHeadless();
    World::discard();
    World* world = World::instance();
    world->score = score;
    auto* ship = new MyShip(world->sprites, 100000);
    world->sprites->add(ship);
    engine->ship = ship;
    std::srand(5);
}

void stopGame() {
    World::discard();
    Engine::discard();
    sdlq::setTicksSource(nullptr);
}

// The generator's tests on an empty field; whatever it makes is cleared so the field stays the same.
void BM_RunWaves(benchmark::State& state) {
    startGame(static_cast<int>(state.range(0)));
    World* world = World::instance();
    Engine::instance()->frameStep = 1;
    for (auto _ : state) {
        runWaves(world);
        if (world->sprites->count > 1) {
            for (Elem* e = world->sprites->head->next; e; e = e->next)
                static_cast<Sprite*>(e)->dead = 1;
            world->sprites->removeDead();
        }
    }
    stopGame();
}
BENCHMARK(BM_RunWaves)->Arg(500)->Arg(60000)->Arg(150000);

// A play frame with `range` fighters, raiders and tanks in flight (re-made as they leave).
void BM_PlayFrameLogic(benchmark::State& state) {
    startGame(150000);
    World* world = World::instance();
    Engine* engine = Engine::instance();
    ListSprite* sprites = world->sprites;
    const int crowd = static_cast<int>(state.range(0));
    for (auto _ : state) {
        while (sprites->count < crowd) {
            const int k = sprites->count % 3;
            if (k == 0)
                sprites->add(new Fighter2(sprites, static_cast<float>(std::rand() % 14 - 7), 70, 0.7f, 1000));
            else if (k == 1)
                sprites->add(new Ship1(sprites, 0, 70, 0.7f, 1000));
            else
                sprites->add(new Tank(sprites, std::rand() % 21 - 10, 1000));
        }
        benchNow += 15;
        world->updatePlay();
        sprites->collideAll();
        if (engine->ship && engine->ship->dead)
            engine->ship = nullptr;
        sprites->removeDead();
    }
    state.counters["sprites"] = sprites->count;
    stopGame();
}
BENCHMARK(BM_PlayFrameLogic)->Arg(50)->Arg(150)->Arg(400);

} // namespace
