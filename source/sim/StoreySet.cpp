#include "StoreySet.h"

namespace sim {

namespace storeyBits {
int lowest(std::uint32_t mask) { return mask ? __builtin_ctz(mask) : noStorey; }
int highest(std::uint32_t mask) { return mask ? 31 - __builtin_clz(mask) : noStorey; }
}  // namespace storeyBits

StoreySet StoreySet::range(int lowest, int highest) {
    if (lowest < 0 || highest < lowest || highest >= maxStoreys) return StoreySet();
    const std::uint32_t upToHighest = storeyBits::below(highest) << 1 | 1u;
    return StoreySet(upToHighest & ~storeyBits::below(lowest));
}

bool StoreySet::contains(int storey) const {
    return storey >= 0 && storey < maxStoreys && (bits_ & storeyBits::bit(storey));
}

int StoreySet::count() const { return __builtin_popcount(bits_); }
int StoreySet::lowest() const { return storeyBits::lowest(bits_); }
int StoreySet::highest() const { return storeyBits::highest(bits_); }

int StoreySet::nearest(int storey) const {
    if (empty()) return noStorey;
    if (storey < 0) return lowest();
    if (storey >= maxStoreys) return highest();
    if (contains(storey)) return storey;
    const int down = storeyBits::highest(bits_ & storeyBits::below(storey));
    const int up = storeyBits::lowest(bits_ & storeyBits::above(storey));
    if (down == noStorey) return up;
    if (up == noStorey) return down;
    return storey - down <= up - storey ? down : up;
}

}  // namespace sim
