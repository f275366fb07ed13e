#ifndef ZENTROVA_STOREYSET_H
#define ZENTROVA_STOREYSET_H

#include <cstdint>

namespace sim {

constexpr int noStorey = -1;

// Storeys 0 to 31 as the bits of a word: the storeys a shaft serves, or any
// set of storeys the simulation asks questions about.
class StoreySet {
public:
    static constexpr int maxStoreys = 32;

    constexpr StoreySet() = default;
    explicit constexpr StoreySet(std::uint32_t bits) : bits_(bits) {}
    // lowest to highest inclusive; empty when they are not 0 <= lowest <= highest < maxStoreys.
    static StoreySet range(int lowest, int highest);

    std::uint32_t bits() const { return bits_; }
    bool empty() const { return bits_ == 0; }
    bool contains(int storey) const;
    bool includes(StoreySet other) const { return (other.bits_ & ~bits_) == 0; }
    int count() const;
    int lowest() const;   // noStorey when empty
    int highest() const;  // noStorey when empty
    // The member closest to storey, the lower one of two as close; noStorey when empty.
    int nearest(int storey) const;

    bool operator==(StoreySet other) const { return bits_ == other.bits_; }
    bool operator!=(StoreySet other) const { return bits_ != other.bits_; }

private:
    std::uint32_t bits_ = 0;
};

// Masks over the same bits, for the sweeps of the cars.
namespace storeyBits {
inline std::uint32_t bit(int storey) { return std::uint32_t{1} << storey; }
inline std::uint32_t above(int storey) { return storey >= 31 ? 0 : ~std::uint32_t{0} << (storey + 1); }
inline std::uint32_t below(int storey) { return bit(storey) - 1; }
int lowest(std::uint32_t mask);   // noStorey when empty
int highest(std::uint32_t mask);  // noStorey when empty
}  // namespace storeyBits

}  // namespace sim

#endif
