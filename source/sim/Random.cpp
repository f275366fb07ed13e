#include "Random.h"

#include <algorithm>

namespace sim {

namespace {

std::uint64_t splitmix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

Random::Random(std::uint64_t seed, std::uint64_t stream) {
    std::uint64_t streamState = stream;
    std::uint64_t x = seed ^ splitmix64(streamState);
    for (std::uint64_t& word : state)
        word = splitmix64(x);
}

std::uint64_t Random::next() {
    const std::uint64_t result = rotl(state[1] * 5, 7) * 9;
    const std::uint64_t t = state[1] << 17;
    state[2] ^= state[0];
    state[3] ^= state[1];
    state[1] ^= state[2];
    state[0] ^= state[3];
    state[2] ^= t;
    state[3] = rotl(state[3], 45);
    return result;
}

int Random::uniform(int lowest, int highest) {
    if (highest <= lowest) return lowest;
    const std::uint64_t range = static_cast<std::uint64_t>(static_cast<std::int64_t>(highest) - lowest) + 1;
    // Draws past the last whole multiple of range would favour the low values.
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
    std::uint64_t draw = next();
    while (draw >= limit)
        draw = next();
    return static_cast<int>(lowest + static_cast<std::int64_t>(draw % range));
}

bool Random::chancePerMille(int perMille) { return uniform(0, 999) < perMille; }

// Von Neumann's method: comparisons of uniform draws only. A first draw u is
// kept when the run of ever smaller draws that it starts has an odd length,
// which happens with chance e^-u; every refusal adds one mean.
std::int64_t Random::exponential(std::int64_t mean) {
    mean = std::clamp<std::int64_t>(mean, 1, maxMean);
    std::int64_t whole = 0;
    while (true) {
        const std::uint64_t first = next();
        std::uint64_t last = first;
        int length = 1;
        for (std::uint64_t draw = next(); draw <= last; draw = next()) {
            last = draw;
            ++length;
        }
        if (length % 2 == 1) {
            const std::uint64_t fraction = first >> 32;
            return whole * mean + static_cast<std::int64_t>((fraction * static_cast<std::uint64_t>(mean)) >> 32);
        }
        ++whole;
    }
}

bool Random::setWords(const std::array<std::uint64_t, 4>& saved) {
    if ((saved[0] | saved[1] | saved[2] | saved[3]) == 0) return false;
    for (int i = 0; i < 4; ++i) state[i] = saved[static_cast<size_t>(i)];
    return true;
}

}  // namespace sim
