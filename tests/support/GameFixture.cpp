#include "GameFixture.h"

#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/DivingFighter.h"
#include "enemies/Ship1.h"
#include "enemies/Tache.h"
#include "enemies/Tank.h"

#include <cstdlib>

namespace {

Uint32 fakeTicks() {
    return GameTest::now;
}

int (*realCapsuleType)(Sprite*) = nullptr;

// A probe stands in for a capsule with the type it is given; a real capsule keeps its own.
int capsuleTypeOfProbe(Sprite* capsule) {
    if (auto* probe = dynamic_cast<Probe*>(capsule))
        return probe->capsuleType;
    return static_cast<Diamond*>(capsule)->capsuleType;
}

} // namespace

Probe::Probe(List* owner, int kind, float x, float y, float z, float size) : Sprite(owner, kind, x, y, z) {
    sizeX = sizeY = sizeZ = size;
}

Probe::~Probe() {
    ++destroyed;
}

void Probe::collide(Sprite* other) {
    contacts.emplace_back(this, other);
    if (dieOnContact)
        dead = 1;
}

void Probe::move() {
    ++moves;
    Sprite::move();
    if (spawnOnMove) {
        spawnOnMove = false;
        owner->add(new Probe(owner, kind, x, y, z));
    }
}

void GameTest::SetUp() {
    now = 1000;
    sdlq::setTicksSource(fakeTicks);
    sdlq::releaseAllKeys();
    engine = Engine::createHeadless();
    world = World::instance();
    std::srand(1);
    Probe::contacts.clear();
    Probe::destroyed = 0;
    MyShip::lastShotTime = MyShip::fireHeldSince = MyShip::lastBombTime = 0;
    MyShip::setJoystickApi(nullptr);
    realCapsuleType = MyShip::capsuleTypeOf;
    MyShip::capsuleTypeOf = capsuleTypeOfProbe;
}

void GameTest::TearDown() {
    World::discard();
    Engine::discard();
    MyShip::capsuleTypeOf = realCapsuleType;
    sdlq::releaseAllKeys();
    sdlq::setTicksSource(nullptr);
}

MyShip* GameTest::flyingShip(float x, float z) {
    auto* ship = spawn<MyShip>(100);
    engine->ship = ship;
    ship->shipState = MyShip::Flying;
    ship->x = x;
    ship->z = z;
    ship->invulnerable = 0;
    return ship;
}

void GameTest::hold(int key, bool down) {
    sdlq::getKeyState()[key] = down ? 1 : 0;
}

void GameTest::clearAllButShip() {
    for (Elem* e = sprites()->head; e; e = e->next)
        if (e != engine->ship)
            static_cast<Sprite*>(e)->dead = 1;
    sprites()->removeDead();
}

void GameTest::frame(bool move) {
    if (move)
        sprites()->moveAll();
    sprites()->collideAll();
    if (engine->ship && engine->ship->dead)
        engine->ship = nullptr;
    sprites()->removeDead();
}

void GameTest::playFrame() {
    world->updatePlay();
    sprites()->collideAll();
    if (!engine->ship) {
        engine->shipDeadTime += engine->frameStep;
    } else if (engine->ship->dead) {
        engine->ship = nullptr;
        engine->shipDeadTime = 0;
    }
    sprites()->removeDead();
}

int GameTest::ticksToLive(Sprite* sprite, int limit) {
    int ticks = 0;
    while (!sprite->dead && ticks < limit) {
        sprite->move();
        ++ticks;
    }
    return ticks;
}

void GameTest::moveTimes(Sprite* sprite, int times, float z) {
    for (int i = 0; i < times; ++i) {
        sprite->z = std::isnan(z) ? sprite->z : z;
        sprite->move();
    }
}

int* GameTest::hitPointsOf(Sprite* s) {
    if (auto* f = dynamic_cast<DivingFighter*>(s))
        return &f->hitPoints;
    if (auto* r = dynamic_cast<Ship1*>(s))
        return &r->hitPoints;
    if (auto* t = dynamic_cast<Tank*>(s))
        return &t->hitPoints;
    if (auto* c = dynamic_cast<Cube*>(s))
        return &c->hitPoints;
    auto* n = dynamic_cast<Tache*>(s);
    return n ? &n->hitPoints : nullptr;
}
