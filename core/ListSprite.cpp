#include "core/ListSprite.h"

#include "core/Sprite.h"
#include "core/Random.h"
#include "core/SpriteKind.h"
#include "render/GlState.h"

#include <cxxabi.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

namespace {

Sprite* spriteAt(Elem* e) {
    return static_cast<Sprite*>(e);
}

bool drawnInEffectPass(int kind) {
    return kind == KindEffect || kind == KindMyFire1 || kind == KindMyFire4;
}

// In check builds a draw that leaves a GL switch changed is reported, once per sprite kind.
void drawKeepingSwitches(Sprite* s) {
#ifdef ORBITRAX_GL_CHECKS
    const unsigned before = GlState::current();
    s->draw();
    const unsigned after = GlState::current();
    if (after == before)
        return;
    const char* mangled = typeid(*s).name();
    const std::unique_ptr<char, void (*)(void*)> type(abi::__cxa_demangle(mangled, nullptr, nullptr, nullptr),
                                                      std::free);
    GlState::report("kind " + std::to_string(s->kind),
                    std::string(type ? type.get() : mangled) + " (sprite kind " + std::to_string(s->kind) +
                        ") left GL switches changed; on: " + GlState::names(after & ~before) +
                        "; off: " + GlState::names(before & ~after));
#else
    s->draw();
#endif
}

} // namespace

ListSprite::ListSprite() : targetCount(0) {}

ListSprite::~ListSprite() = default;

void ListSprite::add(Sprite* s) {
    List::add(s);
    if (s->isTarget)
        targetCount++;
}

void ListSprite::moveAll() {
    for (Elem* e = head; e; e = e->next)
        spriteAt(e)->move();
}

void ListSprite::drawShadows() {
    for (Elem* e = head; e; e = e->next)
        spriteAt(e)->drawShadow();
}

// Solid models lit and textured, then the glowing effects and the traps blended over them.
void ListSprite::drawAll() {
    constexpr unsigned solid = GlState::Lighting | GlState::Texture2D;
    GlState::apply(solid, GlState::Blend);
    for (Elem* e = head; e; e = e->next) {
        const int k = spriteAt(e)->kind;
        if (k != KindPiege && !drawnInEffectPass(k))
            drawKeepingSwitches(spriteAt(e));
    }
    GlState::apply(GlState::Blend, solid);
    for (Elem* e = head; e; e = e->next)
        if (drawnInEffectPass(spriteAt(e)->kind))
            drawKeepingSwitches(spriteAt(e));
    for (Elem* e = head; e; e = e->next)
        if (spriteAt(e)->kind == KindPiege)
            drawKeepingSwitches(spriteAt(e));
    GlState::apply(solid, GlState::Blend);
    GlState::checkErrors("sprite");
}

// Every unordered pair once; a NaN on any axis fails the strict comparison and means no overlap.
void ListSprite::collideAll() {
    for (Elem* ea = head; ea; ea = ea->next) {
        Sprite* a = spriteAt(ea);
        for (Elem* eb = ea->next; eb; eb = eb->next) {
            Sprite* b = spriteAt(eb);
            const float dx = b->getX() - a->getX();
            const float hx = (b->sizeX + a->sizeX) * 0.5f;
            if (!(std::fabs(dx) < std::fabs(hx)))
                continue;
            const float dy = b->getY() - a->getY();
            const float hy = (b->sizeY + a->sizeY) * 0.5f;
            if (!(std::fabs(dy) < std::fabs(hy)))
                continue;
            const float dz = b->getZ() - a->getZ();
            const float hz = (b->sizeZ + a->sizeZ) * 0.5f;
            if (!(std::fabs(dz) < std::fabs(hz)))
                continue;
            a->collide(b);
            b->collide(a);
        }
    }
}

void ListSprite::removeDead() {
    Elem* e = head;
    while (e) {
        Elem* following = e->next;
        Sprite* s = spriteAt(e);
        if (s->dead) {
            if (s->isTarget)
                targetCount--;
            s->prepareRemoval();
            s->unlink();
            // The cursor must never rest on a deleted sprite: readers of the cursor find the head instead.
            if (cursor == e)
                cursor = head;
            delete s;
        }
        e = following;
    }
}

Sprite* ListSprite::pickRandomTarget() {
    const int n = targetCount;
    if (n <= 0)
        return nullptr;
    const int k = n == 1 ? 1 : gameRand() % n + 1;
    int seen = 0;
    for (Elem* e = head; e; e = e->next) {
        Sprite* s = spriteAt(e);
        if (s->isTarget && !s->dead && ++seen == k)
            return s;
    }
    return nullptr;
}

void ListSprite::destroyAll() {
    Elem* e = head;
    while (e) {
        Elem* following = e->next;
        e->unlink();
        delete e;
        e = following;
    }
    cursor = nullptr;
    targetCount = 0;
}
