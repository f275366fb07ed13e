#ifndef ZENTROVA_SWEEP_H
#define ZENTROVA_SWEEP_H

#include <cstdint>

#include "Passenger.h"

namespace sim {

// The one rule every car follows, whichever strategy hands out the hall
// calls: keep going while there is something to do ahead, stop for riders
// and for answered calls the way the car goes, turn at the last one, rest
// when there is nothing. The dispatch strategies run it forward to estimate
// when a car would get somewhere.
namespace sweep {

struct View {
    int storey;                // where the car stands or is passing
    Direction direction;       // None: at rest with nothing to do
    std::uint32_t carCalls;    // where its riders go
    std::uint32_t answeredUp;  // hall calls it answers
    std::uint32_t answeredDown;
    std::uint32_t waitingUp;  // everyone waiting, answered or not
    std::uint32_t waitingDown;
    bool full;    // a full car passes every hall call by
    bool atRest;  // doors closed at the storey: it also opens for whoever stands there
};

enum class Move { Stop, Go, Rest };

// Stop: open the doors here and take those going direction. Go: travel
// direction to the next storey. Rest: nothing to do.
struct Decision {
    Move move;
    Direction direction;
};

Decision decide(const View& view);

// The nearest storey of mask from storey on the way direction (storey itself
// included); noStorey when there is none.
int nextOnTheWay(std::uint32_t mask, int storey, Direction direction);

}  // namespace sweep

}  // namespace sim

#endif
