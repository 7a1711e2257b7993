// What every sprite does when it meets each kind, its hit box, how hard a blow pushes it, and how long it
// lasts: one table each, checked through the sprites' own passes.
#include "GameFixture.h"

namespace {

// clang-format off
enum Thing {
    Fighter, Raider, Tanks, Cubes, Nest, Scratchers, FighterShot, RaiderShot, Shell, Bolt, Homing, Rocket, Star,
    Capsule, Ship, RearBolt, Bomb, Bandit, Trap, Pole, PowerCapsule, CubeOverTheEdge, ShellAhead, ShellRight,
    ShellLeft, Blast1, Blast2, Blast7, Blast8, Blast20, Mark, Puff, Spark, DyingShip, ArrivingShip, SpinningShip,
    BouncingPiece, RestingPiece, PieceOffTheFloor
};
// clang-format on

class Tables : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ship = flyingShip(2, 10);
        ship->weaponLevel = 7; // no power capsules but the one asked for
    }

    // Each thing made where the tables expect it, with the hit points given where it has any.
    Sprite* make(Thing thing, int hp = 3) {
        // clang-format off
        switch (thing) {
        case Fighter: return spawn<Fighter2>(-2.0f, 70.0f, 0.75f, hp);
        case Raider: return spawn<Ship1>(0.0f, 0.0f, 0.0f, hp);
        case Tanks: return spawn<Tank>(-4, hp);
        case Cubes: return spawn<Cube>(hp, -7);
        case Nest: return spawn<Tache>(-4.0f, hp);
        case Scratchers: return spawn<Scratcher>(-2.0f, 60.0f, true);
        case FighterShot: return spawn<Fighter2Fire>(1.0f, 0.5f, 1.0f);
        case RaiderShot: return spawn<Ship1Fire>(0.0f, 0.5f, 3.0f);
        case Shell: return spawn<TankFire>(nullptr, 0.0f, 0.7f, 1.0f, 0.0f, -0.2f, 0.0f);
        case ShellAhead: return spawn<TankFire>(nullptr, 0.0f, 0.7f, 69.0f, 0.0f, 0.2f, 0.0f);
        case ShellRight: return spawn<TankFire>(nullptr, 11.0f, 0.7f, 30.0f, 0.2f, 0.0f, 0.0f);
        case ShellLeft: return spawn<TankFire>(nullptr, -11.0f, 0.7f, 30.0f, -0.2f, 0.0f, 0.0f);
        case Bolt: return add(new MyFire1(ship));
        case RearBolt: return add(new MyFire1(ship, -0.08f, -0.7f));
        case Homing: return add(new MyFire3(ship, 0.5f));
        case Rocket: return add(new MyFire4(ship, 0.007f, 0.5f));
        case Bomb: return add(new MyFire2(ship));
        case Star: return spawn<Spirale>(ship);
        case Capsule: return add(new Diamond(spawn<Cube>(2, 5)));
        case Ship: return ship;
        case Bandit: return spawn<Bandit2>(1.5f, 70.0f, 0.75f, 3);
        case Trap: return spawn<Piege>();
        case Pole: return static_cast<Sprite*>(spawn<Piege>()->prev);
        case CubeOverTheEdge: {
            Cube* cube = spawn<Cube>(2, 12);
            cube->vx = 0.5f; // knocked off the floor
            return cube;
        }
        case Mark: return add(new ExplosionMark(add(new Explosion(ship, 8, false, false)), 8));
        case Puff: return add(new ExplosionJustSmoke(ship, 1));
        case Spark: case BouncingPiece: case RestingPiece: case PieceOffTheFloor: {
            auto* group = add(new PieceOfShip(add(new Explosion(ship, 1, false, false)), 1));
            const float x = thing == PieceOffTheFloor ? 12 : 0, y = thing == RestingPiece ? 0.01f : 0.05f;
            group->particles[0] = {x, y, 0, 0, thing == RestingPiece ? -0.044f : -0.094f, 0, 1, 0.1f, 0.1f, 1, 0, 0, thing != Spark, PieceOfShip::Flying};
            return group;
        }
        case PowerCapsule: {
            ship->weaponLevel = 0;
            Diamond* capsule = add(new Diamond(spawn<Cube>(2, 5)));
            while (capsule->capsuleType != Diamond::Power)
                capsule = add(new Diamond(static_cast<Cube*>(sprites()->head->next)));
            ship->weaponLevel = 7;
            return capsule;
        }
        case DyingShip: case ArrivingShip: case SpinningShip: {
            auto* other = spawn<MyShip>(100);
            other->energy = thing == DyingShip ? -1 : 100;
            other->shipState = thing == SpinningShip ? MyShip::Spinning : MyShip::Arriving;
            return other;
        }
        default: return add(new Explosion(ship, std::array{1, 2, 7, 8, 20}[thing - Blast1], false, false));
        }
        // clang-format on
    }

    // Whether a point probe at (x, y, z) meets the sprite in the collision pass.
    bool meets(Sprite* s, float x, float y, float z) {
        Probe point(sprites(), KindEffect, x, y, z, 0);
        sprites()->add(&point);
        Probe::contacts.clear();
        sprites()->collideAll();
        point.unlink();
        return std::count(Probe::contacts.begin(), Probe::contacts.end(),
                          std::pair<Sprite*, Sprite*>(&point, s));
    }

    MyShip* ship = nullptr;
};

// What ends a sprite gives: hit points it starts with, points to whoever ended it, the size of its last
// explosion, and whether a blow after its end is ignored.
struct Ending {
    int hitPoints, points, blast;
    bool once;
};
// clang-format off
constexpr Ending endings[] = {{3, 100, 7, true}, {3, 250, 7, true}, {7, 400, 8, true}, {2, 100, 8, true},
    {9, 100, 4, true}, {0, 0, 5, true}, {0, 0, 2, false}, {0, 0, 2, false}, {0, 0, 2, false}, {0, 0, 1, false},
    {0, 0, 1, false}, {0, 0, 1, false}, {0, 30, 2, false}, {0, 500, 0, true}};
// clang-format on

// A blow that changes something: hit points before and after, whether it ends the sprite (a nest lies on,
// destroyed), whether it pushes.
struct Blow {
    Thing who;
    int kind, hitPoints, blows, hitPointsAfter;
    bool ends, pushed;
};
// clang-format off
const Blow blows[] = {
    {Fighter, KindMyShip, 3, 1, -1, true, false}, {Fighter, KindMyFire2, 3, 1, -1, true, false},
    {Fighter, KindMyFire1, 3, 2, 1, false, false}, {Fighter, KindMyFire1, 3, 3, 0, true, false},
    {Fighter, KindSpirale, 3, 3, 0, true, false}, {Fighter, KindFighter, 3, 1, 3, false, true},
    {Raider, KindMyShip, 3, 1, -1, true, false}, {Raider, KindMyFire2, 3, 1, -1, true, false},
    {Raider, KindMyFire1, 3, 2, 1, false, false}, {Raider, KindMyFire1, 3, 3, 0, true, false},
    {Raider, KindSpirale, 3, 3, 0, true, false},
    {Tanks, KindMyShip, 7, 1, 6, false, false}, {Tanks, KindMyFire1, 7, 6, 1, false, false},
    {Tanks, KindMyFire1, 7, 7, 0, true, false}, {Tanks, KindSpirale, 7, 1, 6, false, false},
    {Tanks, KindMyFire2, 7, 1, -3, true, false}, {Tanks, KindMyFire4, 7, 1, 4, false, false},
    {Tanks, KindMyFire4, 7, 3, -2, true, false}, {Tanks, KindTank, 7, 1, 7, false, true},
    {Cubes, KindMyShip, 2, 1, 1, false, true}, {Cubes, KindMyFire1, 2, 1, 1, false, true},
    {Cubes, KindMyFire1, 1, 1, 0, true, false}, {Cubes, KindMyFire2, 9, 1, -3, true, false},
    {Cubes, KindMyFire4, 4, 1, 1, false, true}, {Cubes, KindMyFire4, 2, 1, -1, true, false},
    {Cubes, KindCube, 2, 1, 2, false, true}, {Cubes, KindShip1, 2, 1, 2, false, true},
    {Cubes, KindSpirale, 2, 1, 2, false, true}, {Cubes, KindTank, 2, 1, 2, false, true},
    {Nest, KindMyFire2, 9, 1, -2, true, false}, {Nest, KindMyFire4, 9, 4, 1, false, false},
    {Nest, KindMyFire4, 9, 5, -1, true, false}, {Nest, KindMyFire4, 2, 1, 0, true, false}};
// Shots and missiles end on these kinds and pass through every other.
const std::pair<Thing, std::vector<int>> stops[] = {
    {Scratchers, {KindMyFire1, KindMyFire2}}, {FighterShot, {KindMyShip, KindMyFire1, KindMyFire2, KindCube}},
    {RaiderShot, {KindMyShip, KindMyFire1, KindMyFire2}}, {Shell, {KindMyShip, KindMyFire1, KindMyFire2}},
    {Bolt, {KindCube, KindShip1, KindShip1Fire, KindPoto, KindTank, KindTankFire, KindScratcher, KindFighter, KindDiamond}},
    {Homing, {KindCube, KindShip1, KindShip1Fire, KindPoto, KindTank, KindTankFire, KindScratcher, KindFighter}},
    {Rocket, {KindCube, KindPoto, KindTank, KindScratcher, KindTache}},
    {Star, {KindMyShip, KindMyFire1, KindMyFire2, KindCube, KindShip1, KindTank, KindFighter}}, {Capsule, {KindMyShip}}};
// clang-format on

// The subject meets a probe of the kind (beside it, a little nearer) again and again; every other kind
// leaves it as it was (a raider meeting a raider is a manoeuvre of its own).
TEST_F(Tables, WhatEachBlowDoes) {
    std::vector<Blow> all(std::begin(blows), std::end(blows));
    for (const auto& [who, kinds] : stops)
        for (int kind : kinds)
            all.push_back({who, kind, 0, 1, 0, true, false});
    for (int who = Fighter; who <= Capsule; ++who)
        for (int kind = KindMyShip; kind <= KindMyFire4Smoke; ++kind)
            if (std::none_of(all.begin(), all.end(),
                             [&](const Blow& b) { return b.who == who && b.kind == kind; }) &&
                !(who == Raider && kind == KindShip1))
                all.push_back(
                    {Thing(who), kind, endings[who].hitPoints, 1, endings[who].hitPoints, false, false});
    for (const Blow& b : all) {
        const Ending& end = endings[b.who];
        SCOPED_TRACE(testing::Message() << "thing " << b.who << " meets kind " << b.kind << " x" << b.blows);
        Sprite* s = make(b.who, b.hitPoints);
        Probe other(sprites(), b.kind, s->x - 0.4f, s->y, s->z - 0.4f);
        const float before[4] = {s->x, s->z, s->vx, s->vz};
        for (int i = 0; i < b.blows; ++i)
            s->collide(&other);
        if (int* hp = hitPointsOf(s)) {
            EXPECT_EQ(*hp, b.hitPointsAfter);
        }
        auto* nest = dynamic_cast<Tache*>(s);
        EXPECT_EQ(nest ? nest->state == Tache::Destroyed : s->dead != 0, b.ends);
        const float after[4] = {s->x, s->z, s->vx, s->vz};
        EXPECT_EQ(!std::equal(before, before + 4, after), b.pushed);
        if (b.ends && end.once)
            s->collide(&other);
        EXPECT_EQ(other.points, std::vector<int>(b.ends && end.points, end.points));
        EXPECT_EQ(count<Explosion>(), int(b.ends && end.blast));
        if (b.ends && end.blast) {
            EXPECT_EQ(first<Explosion>()->size, end.blast);
        }
        clearAllButShip();
    }
}

// The collision box of each sprite as it is made: its centre (NaN: wherever chance put it) and sides.
// A point just inside each face meets the sprite, a point just outside does not.
TEST_F(Tables, HitBoxes) {
    constexpr float any = NAN;
    struct Box {
        Thing thing;
        float box[6];
    };
    // clang-format off
    constexpr Box boxes[] = {{Ship, {2, 0.5f, 10, 1.7f, 0.8f, 0.5f}},
        {Bolt, {2, 0.5f, 10.8f, 0.2f, 0.2f, 0.5f}}, {RearBolt, {1.6f, 0.5f, 10.8f, 0.2f, 0.2f, 0.2f}},
        {Homing, {2.5f, 0.5f, 10.2f, 0.2f, 1, 0.2f}}, {Rocket, {2, 0.15f, 10.8f, 0.2f, 0.2f, 0.6f}},
        {Bomb, {2, 0.5f, 10.5f, 0.2f, 1, 0.2f}}, {Bandit, {1.5f, 0.5f, 70, 1.2f, 1, 1.8f}},
        {Fighter, {-2, 0.7f, 70, 2, 1, 2}}, {FighterShot, {1, 0.5f, 1, 0.2f, 0.2f, 0.2f}},
        {Raider, {any, 0.5f, 70, 1, 1, 1.8f}}, {RaiderShot, {0, 0.5f, 3, 0.2f, 0.2f, 0.2f}},
        {Tanks, {-4, 0.5f, 70, 1.2f, 1, 1.2f}}, {Shell, {0, 0.7f, 1, 0.2f, 0.2f, 0.2f}},
        {Cubes, {-7, 0.5f, 70, 1, 1, 1}}, {Capsule, {5, 0.1f, 70, 1, 1, 1}}, {Trap, {any, 3, 70, 2, 1, 2}},
        {Pole, {any, 1.5f, 70, 0.05f, 3, 0.05f}}, {Nest, {-4, 0, 73, 1, 1, 1}},
        {Scratchers, {-2, 0.3f, 60, 0.6f, 0.6f, 0.6f}}, {Star, {any, any, 50, 1, 1, 1}}};
    // clang-format on
    for (const auto& [thing, box] : boxes) {
        Sprite* s = make(thing);
        const float centre[3] = {std::isnan(box[0]) ? s->x : box[0], std::isnan(box[1]) ? s->y : box[1],
                                 box[2]};
        for (int axis = 0; axis < 3; ++axis) {
            for (float reach : {-0.49f, 0.49f, -0.51f, 0.51f}) {
                float p[3] = {centre[0], centre[1], centre[2]};
                p[axis] += reach * box[3 + axis] + (std::fabs(reach) > 0.5f ? reach / 500 : 0);
                EXPECT_EQ(meets(s, p[0], p[1], p[2]), std::fabs(reach) < 0.5f)
                    << "thing " << thing << " axis " << axis << " at " << reach;
            }
        }
        clearAllButShip();
    }
}

// A star meeting the ship and a shot in one pass pays for both.
TEST_F(Tables, AStarPaysOnEveryContact) {
    Sprite* star = make(Star);
    std::tie(star->x, star->y, star->z) = std::tuple{ship->x, ship->y, ship->z + 0.4f};
    make(Bolt);
    sprites()->collideAll();
    EXPECT_EQ(ship->score, 60);
}

// How hard a blow pushes (a fighter or cube in speed, a tank in place, a cube in spin too): the probe, of
// the kind and with a box of its own, sits beside the subject.
TEST_F(Tables, HowHardABlowPushes) {
    // clang-format off
    constexpr std::tuple<Thing, int, float, float, float, float, float, float> pushes[] = {
        {Fighter, KindFighter, -0.5f, 1, 1, 0.04f, -0.04f, 0}, {Fighter, KindFighter, 0.5f, -1, 1, -0.04f, 0.04f, 0},
        {Cubes, KindMyFire1, -1, 0, 1, 0.5f, 0, 10}, {Cubes, KindMyFire1, 0, -1, 1, 0, 0.5f, 0},
        {Cubes, KindCube, 0.6f, 0.3f, 1, -0.2f, -0.1f, -4.2f}, {Tanks, KindTank, -0.6f, -0.3f, 1.2f, 0.25f, 0.125f, 0}};
    // clang-format on
    for (const auto& [who, kind, dx, dz, size, pushX, pushZ, spin] : pushes) {
        Sprite* s = make(who, endings[who].hitPoints);
        const float x = s->x, z = s->z;
        Probe other(sprites(), kind, s->x + dx, s->y, s->z + dz, size);
        s->collide(&other);
        auto* cube = dynamic_cast<Cube*>(s);
        EXPECT_NEAR(s->x - x + s->vx, pushX, 1e-5f) << who << " by " << kind;
        EXPECT_NEAR(s->z - z + s->vz, pushZ, 1e-5f) << who << " by " << kind;
        EXPECT_NEAR(cube ? cube->spin : 0, spin, 1e-5f);
        clearAllButShip();
    }
}

// How long each sprite lasts at the given ticks per frame (moves until it is gone, or until a ship flies)
// and how far it drifts on its first move.
TEST_F(Tables, HowLongThingsLast) {
    struct Life {
        Thing thing;
        float step;
        int ticks;
        float drift;
    };
    // clang-format off
    constexpr Life lives[] = {{Cubes, 1, 731, -0.1f}, {PowerCapsule, 1, 529, -0.1f},
        {CubeOverTheEdge, 1, 110, -0.1f}, {Blast1, 1, 15, -0.1f}, {Blast2, 1, 29, -0.1f}, {Blast7, 1, 86, -0.1f},
        {Blast8, 1, 86, -0.1f}, {Blast20, 1, 215, -0.1f}, {Mark, 1, 130, -0.1f}, {Puff, 1, 15, 0},
        {Spark, 1, 51, 0}, {FighterShot, 1, 3, -0.5f}, {RaiderShot, 10, 2, -0.27f}, {Shell, 1, 5, -0.24f},
        {ShellAhead, 1, 5, 0.24f}, {ShellRight, 1, 4, 0}, {ShellLeft, 1, 4, 0}, {Bolt, 1, 50, 1.2f},
        {RearBolt, 1, 23, -0.7f}, {Rocket, 1, 119, 0.5f}, {Homing, 1, 215, 0}, {Bomb, 1, 124, 0},
        {Nest, 1, 761, -0.1f}, {Scratchers, 1, 122, -35.0f / 120},
        {DyingShip, 1, 101, 0}, {ArrivingShip, 1, 56, 0.1f}, {SpinningShip, 1, 25, 0}, {BouncingPiece, 1, 168, 0},
        {RestingPiece, 1, 151, 0}, {PieceOffTheFloor, 1, 101, 0}};
    // clang-format on
    for (const Life& life : lives) {
        engine->frameStep = life.step;
        Sprite* s = make(life.thing);
        const float z = s->z;
        auto* other = dynamic_cast<MyShip*>(s);
        int ticks = 0;
        while (!s->dead && !(other && other->energy >= 0 && other->shipState == MyShip::Flying) &&
               ticks < 5000) {
            s->move();
            if (ticks++ == 0) {
                EXPECT_NEAR(s->z - z, life.drift * life.step, 1e-4f) << "thing " << life.thing;
            }
        }
        EXPECT_EQ(ticks, life.ticks) << "thing " << life.thing;
        clearAllButShip();
    }
}

} // namespace
