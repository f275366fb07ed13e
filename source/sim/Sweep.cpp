#include "Sweep.h"

#include "StoreySet.h"

namespace sim {
namespace sweep {

namespace {

std::uint32_t beyond(int storey, Direction direction) {
    return direction == Direction::Up ? storeyBits::above(storey) : storeyBits::below(storey);
}

Decision startFromRest(const View& view, std::uint32_t up, std::uint32_t down) {
    const std::uint32_t here = storeyBits::bit(view.storey);
    if (up & here) return {Move::Stop, Direction::Up};
    if (down & here) return {Move::Stop, Direction::Down};
    if (view.carCalls & here) return {Move::Stop, Direction::Up};
    const std::uint32_t calls = view.carCalls | up | down;
    const int above = storeyBits::lowest(calls & storeyBits::above(view.storey));
    const int below = storeyBits::highest(calls & storeyBits::below(view.storey));
    if (above == noStorey && below == noStorey) return {Move::Rest, Direction::None};
    if (below == noStorey || (above != noStorey && above - view.storey <= view.storey - below))
        return {Move::Go, Direction::Up};
    return {Move::Go, Direction::Down};
}

}  // namespace

Decision decide(const View& view) {
    const std::uint32_t here = storeyBits::bit(view.storey);
    std::uint32_t up = view.full ? 0 : view.answeredUp;
    std::uint32_t down = view.full ? 0 : view.answeredDown;
    if (view.atRest && !view.full) {
        up |= view.waitingUp & here;
        down |= view.waitingDown & here;
    }
    if (view.direction == Direction::None) return startFromRest(view, up, down);

    const Direction ahead = view.direction;
    const Direction back = opposite(ahead);
    const std::uint32_t calls = view.carCalls | up | down;
    const std::uint32_t callsAhead = calls & beyond(view.storey, ahead);
    const std::uint32_t sameWay = (ahead == Direction::Up ? up : down) & here;
    const std::uint32_t otherWay = (ahead == Direction::Up ? down : up) & here;
    if ((view.carCalls & here) || sameWay) {
        // The doors open anyway: with nothing more ahead the car may as
        // well take whoever waits here to go back.
        const std::uint32_t waitingAhead = (ahead == Direction::Up ? view.waitingUp : view.waitingDown) & here;
        const std::uint32_t waitingBack = (ahead == Direction::Up ? view.waitingDown : view.waitingUp) & here;
        if (!callsAhead && !sameWay && !waitingAhead && waitingBack && !view.full) return {Move::Stop, back};
        return {Move::Stop, ahead};
    }
    if (callsAhead) return {Move::Go, ahead};
    if (otherWay) return {Move::Stop, back};
    if (calls & beyond(view.storey, back)) return {Move::Go, back};
    return {Move::Rest, Direction::None};
}

int nextOnTheWay(std::uint32_t mask, int storey, Direction direction) {
    if (storey < 0 || storey >= StoreySet::maxStoreys) return noStorey;
    if (direction == Direction::Up) return storeyBits::lowest(mask & ~storeyBits::below(storey));
    if (direction == Direction::Down)
        return storeyBits::highest(mask & (storeyBits::below(storey) | storeyBits::bit(storey)));
    return noStorey;
}

}  // namespace sweep
}  // namespace sim
