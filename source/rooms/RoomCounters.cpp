#include "RoomCounters.h"

#include <climits>

#include "RoomDefs.h"

RoomCounters::Next RoomCounters::peek(int kind) const {
    return kind >= 0 && static_cast<size_t>(kind) < next.size() ? next[static_cast<size_t>(kind)] : Next{};
}

RoomCounters::Next RoomCounters::take(int kind) {
    const aRoom* def = roomDefinition(kind);
    if (!def) return Next{};
    if (next.size() <= static_cast<size_t>(kind)) next.resize(static_cast<size_t>(kind) + 1);
    Next& counter = next[static_cast<size_t>(kind)];
    const Next taken{def->maxVariant != 0 ? counter.variant : 0, counter.serial};
    if (def->maxVariant != 0) counter.variant = counter.variant >= def->maxVariant ? 0 : counter.variant + 1;
    // The last serial number is taken again rather than wrapping round to a
    // negative one that a saved game could not bring back.
    if (counter.serial < INT_MAX) ++counter.serial;
    return taken;
}

bool RoomCounters::set(int kind, Next value) {
    const aRoom* def = roomDefinition(kind);
    if (!def || value.variant < 0 || value.variant > def->maxVariant || value.serial < 1) return false;
    if (next.size() <= static_cast<size_t>(kind)) next.resize(static_cast<size_t>(kind) + 1);
    next[static_cast<size_t>(kind)] = value;
    return true;
}
