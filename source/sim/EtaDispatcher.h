#ifndef ZENTROVA_ETADISPATCHER_H
#define ZENTROVA_ETADISPATCHER_H

#include "CarTiming.h"
#include "Dispatcher.h"
#include "Passenger.h"

namespace sim {

// Estimated time of arrival: each hall call goes to the car that would open
// its doors there soonest, counting the stops, the people getting out and in
// and the turns it already has ahead, and to more cars while more wait than
// the cars it has can take. A car answers only the calls it was given; a car
// that leaves people behind or passes them full gives their call back.
class EtaDispatcher final : public Dispatcher {
public:
    void assign(GroupState& group) const override;
    CallMasks answered(const GroupState& group, int car) const override;

    // Ticks until car would open its doors at storey for people going that
    // way, had it that call too.
    static Tick estimate(const GroupState& group, int car, int storey, Direction direction);
    // What an estimate gives when the car cannot get there.
    static constexpr Tick never = Tick{1} << 40;
};

}  // namespace sim

#endif
