#ifndef ZENTROVA_SHAFT_H
#define ZENTROVA_SHAFT_H

#include <memory>
#include <string>
#include <vector>

#include "Dispatcher.h"
#include "GroupState.h"
#include "ShaftEvent.h"
#include "Sweep.h"

namespace sim {

// An elevator group: one or more cars in a shaft serving a set of storeys,
// the people waiting at its halls and riding its cars, run tick by tick.
// It knows nothing of the tower: its callers put people in line and hear
// back, as events, when each got in and out.
class Shaft final {
    struct Key {
        explicit Key() = default;
    };

public:
    static constexpr int maxCars = 16;

    // Null when served is empty, cars is not 1 to maxCars, the timing is
    // not valid or start is negative. The cars stand at the lowest served
    // storey; the clock starts at start.
    static std::unique_ptr<Shaft> create(StoreySet served, int cars, const CarTiming& timing = CarTiming(),
                                         DispatchKind dispatch = DispatchKind::Eta, Tick start = 0);
    Shaft(Key, StoreySet served, int cars, const CarTiming& timing, DispatchKind dispatch, Tick start);
    ~Shaft();
    Shaft(const Shaft&) = delete;
    Shaft& operator=(const Shaft&) = delete;

    // Puts someone in line at origin, called now. False, and nothing
    // changes, when origin or destination is not served, they are the same,
    // or the id is negative or already in the shaft.
    bool call(int passenger, int origin, int destination);
    // Someone waiting gives up and leaves the line; false when nobody of
    // that id waits (riders stay aboard).
    bool withdraw(int passenger) { return group.withdraw(passenger); }
    // One tick of every car, in car order; what happened is appended to events.
    void step(std::vector<ShaftEvent>& events);
    // Where a car with nothing to do goes to wait; noStorey lets it stay
    // where it is. False, and no change, for a storey not served.
    bool setParkingStorey(int storey);
    // More storeys are simply served. Fewer: every rider is put out at the
    // storey still served nearest to their car, which waits there, and
    // everyone in line is handed back. An empty set is close().
    void changeServed(StoreySet served, std::vector<ShaftEvent>& events);
    // The shaft goes: every rider is put out at the storey nearest their
    // car, everyone in line is handed back, nothing is served any more.
    void close(std::vector<ShaftEvent>& events);

    // The whole running state as records of integers, one a line.
    std::vector<std::string> save() const;
    // False, and the shaft as it was, when a record is malformed or
    // impossible for this shaft: its storeys, cars, capacity and timing.
    bool load(const std::vector<std::string>& records);

    Tick now() const { return group.clock; }
    StoreySet served() const { return group.served; }
    const CarTiming& timing() const { return group.timing; }
    DispatchKind dispatch() const { return kind; }
    int carCount() const { return static_cast<int>(group.cars.size()); }
    const Car& car(int index) const { return group.cars[index]; }
    const PassengerQueue& waiting(int storey, Direction direction) const { return group.hall(storey, direction); }
    std::uint32_t assignedCars(int storey, Direction direction) const { return group.assignedCars(storey, direction); }
    int parkingStorey() const { return group.parking; }
    const ShaftStats& stats() const { return group.stats; }

private:
    void stepCar(int index, std::vector<ShaftEvent>& events);
    void settle(int index, std::vector<ShaftEvent>& events);
    void arrive(int index, std::vector<ShaftEvent>& events);
    void beginStop(int index, Direction serving, std::vector<ShaftEvent>& events);
    void nextTransfer(int index, std::vector<ShaftEvent>& events);
    void emptyOut(StoreySet keep, std::vector<ShaftEvent>& events);
    sweep::Decision decide(int index, bool atRest) const;
    void head(int index, Direction direction, int goal);
    int goalAhead(int index, Direction direction) const;
    bool holds(int passenger) const;

    GroupState group;
    DispatchKind kind;
    std::unique_ptr<Dispatcher> dispatcher;
    std::vector<Passenger> leaving;  // reused when people are put out
};

}  // namespace sim

#endif
