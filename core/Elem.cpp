#include "core/Elem.h"

#include "core/List.h"

Elem::Elem(List* owner) : owner(owner), prev(nullptr), next(nullptr) {}

Elem::~Elem() = default;

void Elem::unlink() {
    owner->count--;
    if (owner->count == 0) {
        owner->head = nullptr;
        owner->tail = nullptr;
        return;
    }
    if (prev) {
        prev->next = next;
        if (next)
            next->prev = prev;
        else
            owner->tail = prev;
    } else {
        if (next)
            next->prev = nullptr;
        owner->head = next;
    }
}
