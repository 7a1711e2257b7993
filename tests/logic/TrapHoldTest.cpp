// A trap holds the Engine's ship without taking one of its watcher slots, lets go of a dying ship before
// it is removed, and its star missiles pay on every contact.
#include "GameFixture.h"

#include "enemies/Piege.h"
#include "enemies/SpecialEffect1.h"
#include "enemies/Spirale.h"
#include "player/MyFire1.h"

#include <tuple>

namespace {

class TrapHold : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        trap = spawn<Piege>();
        ship = flyingShip(trap->x, trap->z);
    }
    Piege* trap = nullptr;
    MyShip* ship = nullptr;
};

TEST_F(TrapHold, AShipWithEveryWatcherSlotTakenIsHeldAndMissilesFall) {
    for (int i = 0; i < Sprite::MaxWatchers; ++i)
        ASSERT_TRUE(ship->addWatcher(spawn<Probe>(KindEffect)));
    trap->collide(ship);
    for (int i = 0; i < 5; ++i)
        trap->move();
    EXPECT_TRUE(trap->state == Piege::Alarm && trap->victim == ship);
    EXPECT_GT(count<Spirale>(), 0);
}

TEST_F(TrapHold, PickUpBeamsKeepTheirHostAmongTrapsInAlarm) {
    for (int i = 0; i < Sprite::MaxWatchers; ++i)
        spawn<Piege>()->collide(ship);
    trap->collide(ship);
    for (int type = 0; type < 4; ++type)
        EXPECT_EQ(add(new SpecialEffect1(ship, type))->host, ship) << type;
}

// The frame the ship dies in clears the Engine's ship before the removal; the next frame's trap move lets
// go, though a missile is due.
TEST_F(TrapHold, AShipDyingMidAlarmIsLetGoBeforeAnyRead) {
    trap->collide(ship);
    ship->dead = 1;
    frame();
    ASSERT_EQ(engine->ship, nullptr);
    const int rained = count<Spirale>();
    trap->launchTimer = 3;
    frame();
    EXPECT_TRUE(trap->state == Piege::Idle && trap->victim == nullptr);
    EXPECT_EQ(count<Spirale>(), rained);
}

// A missile that touches the ship and a shot in the same frame pays each 30: 60 for the player.
TEST_F(TrapHold, AStarMeetingTheShipAndAShotAtOncePaysBoth) {
    auto* star = spawn<Spirale>(ship);
    std::tie(star->x, star->y, star->z) = std::tuple{ship->x, ship->y, ship->z + 0.4f};
    add(new MyFire1(ship));
    frame(false);
    EXPECT_EQ(count<Spirale>(), 0);
    EXPECT_EQ(ship->score, 60);
}

} // namespace
