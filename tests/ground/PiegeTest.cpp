#include "GroundFixture.h"

#include "core/SpriteKind.h"
#include "enemies/Piege.h"
#include "enemies/Poto.h"
#include "enemies/Spirale.h"
#include "platform/SdlCompat.h"
#include "player/MyShip.h"

#include <cmath>

namespace {

Uint32 fakeNow = 0;
Uint32 fakeTicks() {
    return fakeNow;
}

class PiegeTest : public GroundTest {
protected:
    void SetUp() override {
        GroundTest::SetUp();
        fakeNow = 100000;
        sdlq::setTicksSource(fakeTicks);
        ship = spawn<MyShip>(100);
        engine->ship = ship;
        trap = spawn<Piege>(2.0f, 5.0f);
        ship->x = trap->x;
        ship->z = trap->z;
    }
    void TearDown() override {
        engine->ship = nullptr;
        sdlq::setTicksSource(nullptr);
        GroundTest::TearDown();
    }

    // One frame as the loop runs it: the trap moves, then touches the ship if it is still inside.
    void frame(bool inside) {
        trap->move();
        if (inside)
            trap->collide(ship);
    }

    MyShip* ship = nullptr;
    Piege* trap = nullptr;
};

TEST_F(PiegeTest, ComesWithItsPole) {
    EXPECT_EQ(trap->kind, KindPiege);
    EXPECT_GE(trap->x, -10.0f);
    EXPECT_LT(trap->x, 10.0f);
    EXPECT_FLOAT_EQ(trap->y, 3.0f);
    EXPECT_EQ(trap->state, Piege::Idle);
    ASSERT_EQ(countOf<Poto>(), 1);
    Poto* pole = lastOf<Poto>();
    EXPECT_FLOAT_EQ(pole->x, trap->x);
    EXPECT_FLOAT_EQ(pole->y, 1.5f);
    EXPECT_FLOAT_EQ(pole->z, trap->z);
    EXPECT_FLOAT_EQ(pole->vz, trap->vz);
    Probe anything(&list, KindMyShip, pole->x, pole->y, pole->z);
    pole->collide(&anything);
    EXPECT_FALSE(pole->dead);
    while (!pole->dead)
        pole->move();
    EXPECT_LT(pole->z, -3.0f);
}

TEST_F(PiegeTest, NoMissileWhileTheShipStaysInsideThenOneEveryFewTicks) {
    for (int i = 0; i < 50; ++i)
        frame(true);
    EXPECT_EQ(trap->state, Piege::Alarm);
    EXPECT_EQ(countOf<Spirale>(), 0);

    // At one tick per frame the launch timer counts 1, 2, 3 and fires past 2, keeping 1.
    std::vector<int> launches;
    int frames = 0;
    while (trap->state == Piege::Alarm && frames < 100) {
        const int before = countOf<Spirale>();
        frame(false);
        ++frames;
        if (countOf<Spirale>() > before)
            launches.push_back(frames);
    }
    EXPECT_EQ(launches, (std::vector<int>{4, 7, 10, 13, 16, 19}));
    EXPECT_EQ(frames, 20); // the alarm timer, 1 at the last contact, passes 20
    EXPECT_EQ(trap->alarmTimer, 0);
    EXPECT_EQ(trap->victim, nullptr);
    EXPECT_EQ(ship->watcherCount, 0); // the slot is free for other followers
    for (int i = 0; i < 30; ++i)
        frame(false);
    EXPECT_EQ(countOf<Spirale>(), 6);
}

TEST_F(PiegeTest, MissilesComeAboutTwoTicksApartAtFineSteps) {
    engine->frameStep = 0.1f;
    frame(true);
    std::vector<float> times;
    float t = 0;
    while (trap->state == Piege::Alarm) {
        const int before = countOf<Spirale>();
        frame(false);
        t += 0.1f;
        if (countOf<Spirale>() > before)
            times.push_back(t);
    }
    ASSERT_GE(times.size(), 8u);
    EXPECT_NEAR(times[0], 2.2f, 0.15f);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_NEAR(times[i] - times[i - 1], 2.1f, 0.15f);
    EXPECT_NEAR(t, 19.1f, 0.2f);
}

TEST_F(PiegeTest, TheSpotLocksOntoTheShipWithinReach) {
    frame(true);
    ship->x = trap->x + 1.5f;
    ship->z = trap->z - 7.0f;
    frame(false);
    EXPECT_FLOAT_EQ(trap->spotX, 1.5f);
    EXPECT_FLOAT_EQ(trap->spotZ, -3.0f);
    EXPECT_GT(trap->pulse, 0);
}

TEST_F(PiegeTest, TheAlarmSoundIsNotRestartedWithinTwoSeconds) {
    frame(true);
    EXPECT_EQ(trap->alarmSounding, 1);
    EXPECT_EQ(trap->alarmStart, 100000u);
    for (Uint32 ms : {500u, 1500u, 2000u}) {
        fakeNow = 100000 + ms;
        frame(true);
        EXPECT_EQ(trap->alarmSounding, 1) << ms;
        EXPECT_EQ(trap->alarmStart, 100000u) << ms;
    }
    fakeNow = 102001;
    frame(true);
    EXPECT_EQ(trap->alarmSounding, 1);
    EXPECT_EQ(trap->alarmStart, 102001u);
}

TEST_F(PiegeTest, TheAlarmStopsWhenTheShipIsGone) {
    frame(true);
    frame(false);
    engine->ship = nullptr;
    frame(false);
    EXPECT_EQ(trap->state, Piege::Idle);
    EXPECT_EQ(trap->victim, nullptr);
    EXPECT_EQ(trap->alarmTimer, 0);
}

TEST_F(PiegeTest, ARemovedShipLeavesNoDanglingVictim) {
    frame(true);
    ASSERT_EQ(trap->victim, ship);
    EXPECT_EQ(ship->watcherCount, 1);
    ship->dead = 1;
    list.removeDead(); // the ship is deleted; the Engine still names it until the frame clears it
    EXPECT_EQ(trap->victim, nullptr);
    frame(false);
    EXPECT_EQ(trap->state, Piege::Idle);
    EXPECT_EQ(countOf<Spirale>(), 0);
    engine->ship = nullptr;
}

TEST_F(PiegeTest, ARemovedTrapStopsWatchingTheShip) {
    frame(true);
    frame(true); // repeated contact does not watch twice
    EXPECT_EQ(ship->watcherCount, 1);
    trap->dead = 1;
    list.removeDead();
    EXPECT_EQ(ship->watcherCount, 0);
}

TEST_F(PiegeTest, WithEveryWatcherSlotTakenTheAlarmGivesUp) {
    Probe others[5] = {{&list, 8}, {&list, 8}, {&list, 8}, {&list, 8}, {&list, 8}};
    for (Probe& p : others)
        ASSERT_TRUE(ship->addWatcher(&p));
    frame(true);
    EXPECT_EQ(trap->victim, nullptr);
    frame(false);
    EXPECT_EQ(trap->state, Piege::Idle);
    for (Probe& p : others)
        ship->removeWatcher(&p);
}

TEST_F(PiegeTest, OnlyTheShipSetsItOff) {
    for (int kind : {KindMyFire1, KindMyFire2, KindMyFire4, KindCube, KindSpirale, KindTank, KindFighter}) {
        Probe other(&list, kind, trap->x, trap->y, trap->z);
        trap->collide(&other);
        EXPECT_EQ(trap->state, Piege::Idle) << kind;
    }
}

TEST_F(PiegeTest, TheSpotRoamsWithinReachAndRests) {
    engine->ship = nullptr;
    bool roamed = false, rested = false;
    for (int i = 0; i < 5000; ++i) {
        trap->z = 60; // keep it in the field
        trap->move();
        roamed = roamed || trap->state == Piege::Roaming;
        rested = rested || (roamed && trap->state == Piege::Idle);
        EXPECT_LE(std::fabs(trap->spotX), 3.5f);
        EXPECT_LE(std::fabs(trap->spotZ), 3.5f);
        EXPECT_TRUE(trap->spotVX == 0 || std::fabs(trap->spotVX) == 0.125f);
    }
    EXPECT_TRUE(roamed);
    EXPECT_TRUE(rested);
}

TEST_F(PiegeTest, ASpotPastTheEdgeTurnsBackInwards) {
    engine->ship = nullptr;
    trap->spotX = -3.05f; // just outside, and a fresh speed that points further out
    trap->spotVX = -0.125f;
    trap->spotZ = 3.05f;
    trap->spotVZ = 0.125f;
    for (int i = 0; i < 3; ++i) {
        trap->state = Piege::Roaming;
        trap->move();
    }
    EXPECT_GT(trap->spotVX, 0);
    EXPECT_LT(trap->spotVZ, 0);
    EXPECT_NEAR(trap->spotX, -2.925f, 1e-4f);
    EXPECT_NEAR(trap->spotZ, 2.925f, 1e-4f);
}

struct HeadingCase {
    float spotX, spotZ, degrees;
};

TEST_F(PiegeTest, HeadingTowardsTheSpot) {
    constexpr HeadingCase cases[] = {
        {0, 0, 0},   {1, 0, 0},  {1, 1, 45},  {-1, 1, 225}, {-1, -1, -135},
        {1, -1, 45}, {0, 2, 90}, {0, -2, 90}, {-2, 0, 180}, {3, 3, 45},
    };
    for (const HeadingCase& c : cases) {
        trap->spotX = c.spotX;
        trap->spotZ = c.spotZ;
        EXPECT_NEAR(trap->heading(), c.degrees, 1e-3f) << c.spotX << ", " << c.spotZ;
    }
}

} // namespace
