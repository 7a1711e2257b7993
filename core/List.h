#pragma once

class Elem;

// Intrusive list with a built-in cursor. It never destroys its elements.
class List {
public:
    List();
    virtual ~List();

    virtual void add(Elem* e);
    bool first();
    bool next();
    bool prev();

    Elem* cursor;
    Elem* head;
    Elem* tail;
    int count;
};
