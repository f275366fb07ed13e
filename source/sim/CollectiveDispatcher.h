#ifndef ZENTROVA_COLLECTIVEDISPATCHER_H
#define ZENTROVA_COLLECTIVEDISPATCHER_H

#include "Dispatcher.h"

namespace sim {

// Collective control: every car stops for every hall call the way it goes.
// An idle car sets off only for a call no moving car is already heading
// for, and only when no other idle car is nearer.
class CollectiveDispatcher final : public Dispatcher {
public:
    void assign(GroupState&) const override {}
    CallMasks answered(const GroupState& group, int car) const override;
};

}  // namespace sim

#endif
