#include "CarTiming.h"

namespace sim {

bool CarTiming::valid() const {
    auto within = [](int value, int most) { return value >= 1 && value <= most; };
    return within(ticksPerStorey, maxTicks) && within(stopTicks, maxTicks) && within(transferTicks, maxTicks) &&
           within(capacity, maxCapacity);
}

}  // namespace sim
