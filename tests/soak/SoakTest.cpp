// The whole game logic for a long run without GL or audio: the play update (move and waves), the
// collision pass, the ship bookkeeping and the removal pass, with the ship firing at weapon level 7 while the
// score climbs from 0 to 150 000. ORBITRAX_SOAK_FRAMES sets the length (default 20 000 frames).
#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Random.h"
#include "core/Sprite.h"
#include "core/SpriteKind.h"
#include "core/World.h"
#include "enemies/Tank.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

Uint32 soakNow = 1000;
Uint32 soakTicks() {
    return soakNow;
}

int soakFrames() {
    const char* text = std::getenv("ORBITRAX_SOAK_FRAMES");
    const int frames = text ? std::atoi(text) : 0;
    return frames > 0 ? frames : 20000;
}

// Most frames take 15 ms (one tick); some are slow, and now and then a stall hits the cap of 10 ticks.
Uint32 frameMs(int frame) {
    if (frame % 997 == 0)
        return 400;
    if (frame % 13 == 0)
        return 45;
    return 15;
}

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        sdlq::setTicksSource(soakTicks);
        sdlq::releaseAllKeys();
        engine = Engine::createHeadless();
        world = World::instance();
        std::srand(20261206);
    }
    void TearDown() override {
        World::discard();
        Engine::discard();
        sdlq::releaseAllKeys();
        sdlq::setTicksSource(nullptr);
    }

    void launchShip() {
        auto* ship = new MyShip(world->sprites, 100);
        ship->weaponLevel = 7;
        world->sprites->add(ship);
        engine->ship = ship;
        engine->shipDeadTime = 0;
    }

    // The held keys: fire always, weave left and right, a bomb now and then.
    void holdKeys(int frame) {
        Uint8* keys = sdlq::getKeyState();
        keys['w'] = 1;
        const int phase = (frame / 90) % 4;
        keys[sdlq::KeyLeft] = phase == 0;
        keys[sdlq::KeyRight] = phase == 2;
        keys[sdlq::KeyUp] = (frame / 200) % 3 == 0;
        keys[sdlq::KeyDown] = (frame / 200) % 3 == 2;
        keys['x'] = frame % 1500 < 3;
    }

    // The play frame without drawing.
    void playFrame() {
        world->updatePlay();
        ListSprite* sprites = world->sprites;
        sprites->collideAll();
        if (!engine->ship)
            engine->shipDeadTime += engine->frameStep;
        else if (engine->ship->dead) {
            engine->ship = nullptr;
            engine->shipDeadTime = 0;
        }
        sprites->removeDead();
    }

    Engine* engine = nullptr;
    World* world = nullptr;
};

TEST_F(Soak, WholeGameLogicStaysBounded) {
    const int frames = soakFrames();
    launchShip();
    long long spriteSum = 0;
    int spriteMost = 0, ships = 1;
    std::map<int, int> mostByKind;
    const auto start = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f) {
        world->score = static_cast<int>(150000LL * f / frames);
        holdKeys(f);
        soakNow += frameMs(f);
        playFrame();
        // A lost ship is replaced after a while, so that both the with-ship and the without-ship rules run.
        if (!engine->ship && engine->shipDeadTime > 150) {
            launchShip();
            ++ships;
        }
        ListSprite* sprites = world->sprites;
        ASSERT_LT(sprites->count, 600) << "at frame " << f;
        int count = 0, tanks = 0, targets = 0;
        std::map<int, int> byKind;
        for (Elem* e = sprites->head; e; e = e->next) {
            auto* s = static_cast<Sprite*>(e);
            ++count;
            ++byKind[s->kind];
            tanks += s->kind == KindTank;
            targets += s->isTarget;
            ASSERT_EQ(s->dead, 0);
        }
        ASSERT_EQ(count, sprites->count);
        ASSERT_EQ(tanks, Tank::living());
        ASSERT_LE(tanks, 6);
        ASSERT_EQ(targets, sprites->targetCount);
        for (const auto& [kind, n] : byKind)
            mostByKind[kind] = std::max(mostByKind[kind], n);
        spriteSum += count;
        spriteMost = std::max(spriteMost, count);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "soak: %d frames, sprites per frame %.1f on average, %d at most; %.2f us per frame; %d ships\n",
        frames, static_cast<double>(spriteSum) / frames, spriteMost, seconds * 1e6 / frames, ships);
    std::printf("soak: most at once by kind:");
    for (const auto& [kind, n] : mostByKind)
        std::printf(" %d:%d", kind, n);
    std::printf("\n");
    EXPECT_GT(ships, 1); // the ship did get hit and die, so the enemies fought back
}

} // namespace
