#ifndef ZENTROVA_CAR_H
#define ZENTROVA_CAR_H

#include <cstdint>
#include <vector>

#include "Passenger.h"

namespace sim {

enum class DoorState { Closed, Opening, Open, Closing };

// One car of a shaft: where it is, what it is doing and whom it carries.
// The shaft drives it; everyone else reads it through the shaft.
class Car {
public:
    // What the car is busy with; saved by number, so only ever append.
    enum class Activity { Idle, Moving, Opening, Alighting, Boarding, Closing };

    Car(int ticksPerStorey, int capacity, int position);

    // Ticks of travel above storey 0, so a car between storeys can be drawn
    // at its height: storey() * ticksPerStorey when it stands at a storey.
    int position() const { return position_; }
    int storey() const { return position_ / ticksPerStorey; }  // the one at or below it
    bool atStorey() const { return position_ % ticksPerStorey == 0; }
    Direction direction() const { return direction_; }  // of travel, or the way a stop serves
    DoorState doors() const;
    int load() const { return static_cast<int>(riders_.size()); }
    int goal() const { return goal_; }  // where it heads or stands for; noStorey when idle
    Activity activity() const { return activity_; }
    int ticksLeft() const { return ticksLeft_; }                      // of the door motion or transfer under way
    const std::vector<Passenger>& riders() const { return riders_; }  // in the order they got in
    std::uint32_t callMask() const { return calls; }                  // the storeys its riders want
    int alightingAt(int storey) const;                                // riders who want that storey

    // For the shaft.
    void place(int position);
    void move() { position_ += static_cast<int>(direction_); }
    void setDirection(Direction direction) { direction_ = direction; }
    void setGoal(int storey) { goal_ = storey; }
    void start(Activity activity, int ticks);
    bool countDown() { return --ticksLeft_ == 0; }  // true when what it does is done
    void board(const Passenger& passenger);
    bool alight(Passenger& leaving);  // the first rider bound for the storey it stands at; false: none
    void emptyInto(std::vector<Passenger>& out);

private:
    int ticksPerStorey;
    int position_;
    Direction direction_ = Direction::None;
    Activity activity_ = Activity::Idle;
    int ticksLeft_ = 0;
    int goal_ = -1;
    std::vector<Passenger> riders_;
    std::uint32_t calls = 0;
};

}  // namespace sim

#endif
