#ifndef ZENTROVA_ROOMCOUNTERS_H
#define ZENTROVA_ROOMCOUNTERS_H

#include <vector>

// What the next room of each kind takes when it is built: its picture
// variant (the kinds with several pictures take them in turn) and its serial
// number, which names it ("Single Room 3"). One set per tower; a saved game
// keeps them.
class RoomCounters {
public:
    struct Next {
        int variant = 0;
        int serial = 1;
    };

    // What a room of the kind built now takes; the counters move on.
    Next take(int kind);
    Next peek(int kind) const;
    // A saved game's counters; false, and nothing changed, for values the
    // kind cannot take.
    bool set(int kind, Next next);

private:
    std::vector<Next> next;  // by kind index, grown on demand
};

#endif
