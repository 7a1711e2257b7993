// A trap holds the Engine's ship without one of its watcher slots and lets go of a dying ship before it is
// removed; a star missile pays on every contact.
#include "GameFixture.h"

#include "enemies/Piege.h"
#include "enemies/SpecialEffect1.h"
#include "enemies/Spirale.h"
#include "player/MyFire1.h"

#include <tuple>

namespace {

using TrapHold = GameTest;

// Pick-up beams find a slot among traps in alarm, and a ship with every slot taken is still held and
// rained on.
TEST_F(TrapHold, TrapsTakeNoWatcherSlot) {
    MyShip* ship = flyingShip();
    for (int i = 0; i < Sprite::MaxWatchers; ++i)
        spawn<Piege>()->collide(ship);
    EXPECT_EQ(add(new SpecialEffect1(ship, 0))->host, ship);
    while (ship->addWatcher(spawn<Probe>(KindEffect))) {
    }
    auto* trap = spawn<Piege>();
    trap->collide(ship);
    for (int i = 0; i < 5; ++i)
        trap->move();
    EXPECT_TRUE(trap->state == Piege::Alarm && trap->victim == ship && count<Spirale>() > 0);
}

// The frame the ship dies in forgets it before the removal; the next trap move lets go, a missile due.
TEST_F(TrapHold, AShipDyingMidAlarmIsLetGoBeforeAnyRead) {
    auto* trap = spawn<Piege>();
    trap->collide(flyingShip());
    engine->ship->dead = 1;
    frame();
    trap->launchTimer = 3;
    frame();
    EXPECT_TRUE(trap->state == Piege::Idle && trap->victim == nullptr && count<Spirale>() == 0);
}

TEST_F(TrapHold, AStarMeetingTheShipAndAShotInOneFramePaysBoth) {
    MyShip* ship = flyingShip();
    auto* star = spawn<Spirale>(ship);
    std::tie(star->x, star->y, star->z) = std::tuple{ship->x, ship->y, ship->z + 0.4f};
    add(new MyFire1(ship));
    frame(false);
    EXPECT_TRUE(count<Spirale>() == 0 && ship->score == 60);
}

} // namespace
