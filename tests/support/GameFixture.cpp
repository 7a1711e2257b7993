#include "GameFixture.h"

#include <cstdlib>

namespace {

Uint32 fakeTicks() {
    return GameTest::now;
}

int (*realCapsuleType)(Sprite*) = nullptr;

// A probe stands in for a capsule with the type it is given; a real capsule keeps its own.
int capsuleTypeOfProbe(Sprite* capsule) {
    auto* probe = dynamic_cast<Probe*>(capsule);
    return probe ? probe->capsuleType : static_cast<Diamond*>(capsule)->capsuleType;
}

} // namespace

Probe::Probe(List* owner, int kind, float x, float y, float z, float size) : Sprite(owner, kind, x, y, z) {
    sizeX = sizeY = sizeZ = size;
}

void Probe::collide(Sprite* other) {
    contacts.emplace_back(this, other);
    dead |= dieOnContact;
}

void Probe::move() {
    ++moves;
    Sprite::move();
    if (std::exchange(spawnOnMove, false))
        owner->add(new Probe(owner, kind, x, y, z));
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
    realCapsuleType = std::exchange(MyShip::capsuleTypeOf, capsuleTypeOfProbe);
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
    std::tie(ship->shipState, ship->x, ship->z, ship->invulnerable) = std::tuple{MyShip::Flying, x, z, 0};
    return ship;
}

void GameTest::clearAllButShip() {
    for (Elem* e = sprites()->head; e; e = e->next)
        static_cast<Sprite*>(e)->dead |= e != engine->ship;
    sprites()->removeDead();
}

int GameTest::ticksToLive(Sprite* sprite, int limit) {
    int ticks = 0;
    for (; !sprite->dead && ticks < limit; ++ticks)
        sprite->move();
    return ticks;
}

void GameTest::moveTimes(Sprite* sprite, int times, float z) {
    for (int i = 0; i < times; ++i, sprite->move())
        sprite->z = std::isnan(z) ? sprite->z : z;
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
