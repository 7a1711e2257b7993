#include "core/List.h"

#include "core/Elem.h"

List::List() : cursor(nullptr), head(nullptr), tail(nullptr), count(0) {}

List::~List() = default;

void List::add(Elem* e) {
    if (!head) {
        head = tail = cursor = e;
    } else {
        tail->next = e;
        e->prev = tail;
        tail = e;
    }
    count++;
}

bool List::first() {
    if (!head)
        return false;
    cursor = head;
    return true;
}

bool List::next() {
    cursor = cursor ? cursor->next : nullptr;
    if (cursor)
        return true;
    cursor = head;
    return false;
}

bool List::prev() {
    cursor = cursor ? cursor->prev : nullptr;
    if (cursor)
        return true;
    cursor = tail;
    return false;
}
