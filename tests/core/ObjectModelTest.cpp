#include "TestSprite.h"

#include "core/Engine.h"
#include "core/ListSprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override { Engine::createHeadless(); }
    void TearDown() override {
        list.destroyAll();
        Engine::discard();
    }

    TestSprite* make(int kind, float x, float y, float z, float size, int id = 0) {
        auto* s = new TestSprite(&list, kind, x, y, z, size, &log, id);
        list.add(s);
        return s;
    }

    ListSprite list;
    std::vector<int> log;
};

TEST_F(ObjectModel, UnlinkKeepsHeadTailAndCountConsistent) {
    TestSprite* a = make(19, 0, 0, 0, 1);
    TestSprite* b = make(19, 0, 0, 0, 1);
    TestSprite* c = make(19, 0, 0, 0, 1);
    ASSERT_EQ(list.count, 3);

    c->unlink(); // tail
    EXPECT_EQ(list.tail, b);
    EXPECT_EQ(b->next, nullptr);
    a->unlink(); // head
    EXPECT_EQ(list.head, b);
    EXPECT_EQ(b->prev, nullptr);
    b->unlink(); // only element
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
    delete a;
    delete b;
    delete c;
}

TEST_F(ObjectModel, CursorWalksAndWrapsToTheEnds) {
    EXPECT_FALSE(list.first());
    TestSprite* a = make(1, 0, 0, 0, 1);
    TestSprite* b = make(1, 0, 0, 0, 1);
    ASSERT_TRUE(list.first());
    EXPECT_EQ(list.cursor, a);
    EXPECT_TRUE(list.next());
    EXPECT_EQ(list.cursor, b);
    EXPECT_FALSE(list.next());
    EXPECT_EQ(list.cursor, a); // back on the head
    EXPECT_FALSE(list.prev());
    EXPECT_EQ(list.cursor, b); // prev from the head goes to the tail
}

struct BoxCase {
    const char* name;
    float x, y, z; // position of the second sprite; the first is at the origin
    float sizeA, sizeB;
    bool overlaps;
};

TEST_F(ObjectModel, BoxTestIsStrictOnEveryAxis) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const BoxCase cases[] = {
        {"touching on x", 1.0f, 0, 0, 1, 1, false},
        {"touching on y", 0, 1.0f, 0, 1, 1, false},
        {"touching on z", 0, 0, 1.0f, 1, 1, false},
        {"just inside", 0.99f, 0.99f, 0.99f, 1, 1, true},
        {"zero sizes at the same spot", 0, 0, 0, 0, 0, false},
        {"mixed sizes", 1.4f, 0, 0, 1, 2, true},
        {"NaN position", nan, 0, 0, 1, 1, false},
        {"negative side", -0.5f, -0.5f, -0.5f, 1, 1, true},
    };
    for (const BoxCase& c : cases) {
        ListSprite l;
        auto* a = new TestSprite(&l, 19, 0, 0, 0, c.sizeA);
        auto* b = new TestSprite(&l, 19, c.x, c.y, c.z, c.sizeB);
        l.add(a);
        l.add(b);
        l.collideAll();
        EXPECT_EQ(!a->collided.empty(), c.overlaps) << c.name;
        EXPECT_EQ(!b->collided.empty(), c.overlaps) << c.name;
        l.destroyAll();
    }
}

TEST_F(ObjectModel, OverlapCallsBothSidesNearerHeadFirstAndDeadSpritesStayIn) {
    TestSprite* a = make(19, 0, 0, 0, 1, 1);
    TestSprite* b = make(19, 0.1f, 0, 0, 1, 2);
    TestSprite* c = make(19, 0.2f, 0, 0, 1, 3);
    a->killOnCollide = true;
    list.collideAll();
    // a-b, a-c, b-c: a is dead after its first call yet still meets c.
    const std::vector<int> expected = {1, 2, 1, 3, 2, 3};
    EXPECT_EQ(log, expected);
    ASSERT_EQ(a->collided.size(), 2u);
    EXPECT_EQ(a->collided[1], c);

    int destroyed = 0;
    a->destroyed = &destroyed;
    list.removeDead();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.head, b);
}

TEST_F(ObjectModel, RemoveDeadOfEverySpriteEmptiesTheList) {
    int destroyed = 0;
    for (int i = 0; i < 5; ++i) {
        TestSprite* s = make(7, 0, 0, 0, 1);
        s->isTarget = true;
        s->dead = 1;
        s->destroyed = &destroyed;
    }
    list.targetCount = 5;
    list.removeDead();
    EXPECT_EQ(destroyed, 5);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.targetCount, 0);
}

TEST_F(ObjectModel, CursorNeverRestsOnARemovedSprite) {
    TestSprite* ship = make(1, 0, 0, 0, 1);
    make(7, 0, 0, 0, 1);
    ASSERT_EQ(list.cursor, ship);
    ship->dead = 1;
    list.removeDead();
    EXPECT_EQ(list.cursor, list.head);
}

TEST_F(ObjectModel, WatchersFillFiveSlotsAndReuseFreedOnes) {
    TestSprite* host = make(1, 0, 0, 0, 1);
    TestSprite* followers[6];
    for (auto*& f : followers)
        f = make(8, 0, 0, 0, 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(host->addWatcher(followers[i]));
    EXPECT_FALSE(host->addWatcher(followers[5]));
    EXPECT_EQ(host->watcherCount, 5);

    host->removeWatcher(followers[2]);
    EXPECT_EQ(host->watcherCount, 4);
    host->removeWatcher(followers[5]); // not a watcher: nothing happens
    host->removeWatcher(nullptr);
    EXPECT_EQ(host->watcherCount, 4);
    EXPECT_TRUE(host->addWatcher(followers[5]));
    EXPECT_EQ(host->watchers[2], followers[5]);
}

TEST_F(ObjectModel, FollowersHearOfTheRemovalBeforeTheHostIsDeleted) {
    TestSprite* host = make(1, 0, 0, 0, 1);
    TestSprite* f1 = make(8, 0, 0, 0, 0);
    TestSprite* f2 = make(8, 0, 0, 0, 0);
    host->addWatcher(f1);
    host->addWatcher(f2);
    host->dead = 1;
    list.removeDead();
    ASSERT_EQ(f1->removedNotices.size(), 1u);
    EXPECT_EQ(f1->removedNotices[0], host);
    EXPECT_EQ(f2->removedNotices.size(), 1u);
}

TEST_F(ObjectModel, PickRandomTarget) {
    EXPECT_EQ(list.pickRandomTarget(), nullptr);
    make(8, 0, 0, 0, 0);
    TestSprite* t1 = make(19, 0, 0, 0, 1);
    t1->isTarget = true;
    list.targetCount = 1;
    // One target: no call to rand(), so the generator's sequence is untouched.
    std::srand(42);
    const int expectedNext = std::rand();
    std::srand(42);
    EXPECT_EQ(list.pickRandomTarget(), t1);
    EXPECT_EQ(std::rand(), expectedNext);

    // A count larger than the live targets runs out and gives null rather than a wrong sprite.
    t1->dead = 1;
    EXPECT_EQ(list.pickRandomTarget(), nullptr);
}

TEST_F(ObjectModel, AddCountsTargetsOnlyThroughTheListSpriteAdd) {
    auto* counted = new TestSprite(&list, 19, 0, 0, 0, 1);
    counted->isTarget = true;
    list.add(counted);
    auto* uncounted = new TestSprite(&list, 19, 0, 0, 0, 1);
    uncounted->isTarget = true;
    static_cast<List&>(list).add(uncounted);
    EXPECT_EQ(list.targetCount, 1);
    EXPECT_EQ(list.count, 2);
}

TEST_F(ObjectModel, SpritesAppendedDuringMoveAllMoveInTheSamePass) {
    TestSprite* parent = make(2, 0, 0, 0, 1);
    parent->spawnOnMove = true;
    list.moveAll();
    ASSERT_NE(parent->spawned, nullptr);
    EXPECT_EQ(parent->spawned->moves, 1);
}

TEST_F(ObjectModel, MoveScalesVelocityByTheFrameStep) {
    TestSprite* s = make(2, 1, 2, 3, 1);
    s->vx = 0.5f;
    s->vy = -1;
    s->vz = 2;
    Engine::instance()->frameStep = 4;
    list.moveAll();
    EXPECT_FLOAT_EQ(s->x, 3);
    EXPECT_FLOAT_EQ(s->y, -2);
    EXPECT_FLOAT_EQ(s->z, 11);
}

} // namespace
