#ifndef ZENTROVA_RANDOM_H
#define ZENTROVA_RANDOM_H

#include <array>
#include <cstdint>

namespace sim {

// A small generator (xoshiro256**, seeded through splitmix64) and the few
// draws the simulation needs, in integers only, so that a seed gives the
// same run on every machine and library. Keep one per source of chance.
class Random {
public:
    // Different streams of one seed are independent of each other.
    explicit Random(std::uint64_t seed, std::uint64_t stream = 0);

    std::uint64_t next();
    // From lowest to highest, both included, each as likely; lowest when highest < lowest.
    int uniform(int lowest, int highest);
    // True perMille times in a thousand.
    bool chancePerMille(int perMille);
    // Exponentially distributed with the given mean, in whatever unit the
    // mean is given (the time to the next arrival of a steady stream).
    // The mean is held to 1 .. maxMean.
    std::int64_t exponential(std::int64_t mean);
    static constexpr std::int64_t maxMean = std::int64_t{1} << 31;

    // Where the generator stands, for a save, and back; false, and no
    // change, for the one state it can never be in (all zero).
    std::array<std::uint64_t, 4> words() const { return {state[0], state[1], state[2], state[3]}; }
    bool setWords(const std::array<std::uint64_t, 4>& saved);

private:
    std::uint64_t state[4];
};

}  // namespace sim

#endif
