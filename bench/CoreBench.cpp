// The per-frame list passes on plain sprites spread over the playfield.
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Sprite.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

class BenchSprite : public Sprite {
public:
    BenchSprite(List* owner, float x, float z) : Sprite(owner, 19, x, 0.5f, z) {
        sizeX = sizeY = sizeZ = 1.0f;
        vz = -0.1f;
    }
    void draw() override {}
    void collide(Sprite* other) override { hits += other->kind; }
    int hits = 0;
};

void fill(ListSprite& list, int n) {
    std::srand(1);
    for (int i = 0; i < n; ++i)
        list.add(new BenchSprite(&list, static_cast<float>(std::rand() % 240) / 10.0f - 12.0f,
                                 static_cast<float>(std::rand() % 700) / 10.0f));
}

void collideAll(benchmark::State& state) {
    Engine::createHeadless();
    ListSprite list;
    fill(list, static_cast<int>(state.range(0)));
    for (auto _ : state)
        list.collideAll();
    state.counters["sprites"] = static_cast<double>(state.range(0));
    list.destroyAll();
    Engine::discard();
}

void moveAll(benchmark::State& state) {
    Engine::createHeadless();
    ListSprite list;
    fill(list, static_cast<int>(state.range(0)));
    for (auto _ : state)
        list.moveAll();
    list.destroyAll();
    Engine::discard();
}

// A tenth of the sprites die each frame and are replaced, as in a busy fight.
void removeDead(benchmark::State& state) {
    Engine::createHeadless();
    ListSprite list;
    const int n = static_cast<int>(state.range(0));
    fill(list, n);
    for (auto _ : state) {
        int k = 0;
        for (Elem* e = list.head; e; e = e->next)
            if (++k % 10 == 0)
                static_cast<Sprite*>(e)->dead = 1;
        list.removeDead();
        state.PauseTiming();
        while (list.count < n)
            list.add(new BenchSprite(&list, 0, 70));
        state.ResumeTiming();
    }
    list.destroyAll();
    Engine::discard();
}

} // namespace

BENCHMARK(collideAll)->Arg(50)->Arg(150)->Arg(300)->Arg(600);
BENCHMARK(moveAll)->Arg(50)->Arg(150)->Arg(300)->Arg(600);
BENCHMARK(removeDead)->Arg(50)->Arg(150)->Arg(300)->Arg(600);
