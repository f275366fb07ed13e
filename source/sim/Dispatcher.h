#ifndef ZENTROVA_DISPATCHER_H
#define ZENTROVA_DISPATCHER_H

#include <cstdint>

namespace sim {

class GroupState;

// The strategies a shaft can hand out its hall calls by.
enum class DispatchKind {
    Collective,  // every car answers every call it meets on its way
    Eta,         // each call goes to the car that would get there soonest
};

// The hall calls one car answers: it travels to them and stops for them.
struct CallMasks {
    std::uint32_t up;
    std::uint32_t down;
};

// How a shaft decides which car answers which hall call. A strategy keeps
// no state of its own: what it decides is kept in the group (the
// assignments), so a save holds it and strategies can be swapped.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    // Called once a tick before the cars act.
    virtual void assign(GroupState& group) const = 0;
    virtual CallMasks answered(const GroupState& group, int car) const = 0;
};

}  // namespace sim

#endif
