#pragma once

class List;

// Root of everything that lives in an intrusive List: the links live in the element.
class Elem {
public:
    explicit Elem(List* owner);
    virtual ~Elem();

    // Takes the element out of its owner; its own links and the list's cursor stay as they were.
    void unlink();

    List* owner;
    Elem* prev;
    Elem* next;
};
