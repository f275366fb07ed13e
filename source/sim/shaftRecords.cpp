#include "shaftRecords.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <set>

namespace shaftRecords {

using namespace sim;

namespace {

enum Kind { shaftKind = 0, carKind = 1, hallKind = 2 };
constexpr long long most = std::numeric_limits<long long>::max();
constexpr long long mostPeople = 1 << 20;

void append(std::string& line, long long value) {
    if (!line.empty()) line += ' ';
    line += std::to_string(value);
}

template <typename... Values>
std::string record(Values... values) {
    std::string line;
    (append(line, static_cast<long long>(values)), ...);
    return line;
}

void append(std::string& line, const Passenger& passenger) {
    line += ' ';
    line += record(passenger.id, passenger.origin, passenger.destination, passenger.calledAt);
}

bool parse(const std::string& line, std::vector<long long>& numbers) {
    numbers.clear();
    const char* at = line.c_str();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (true) {
        while (blank(*at))
            ++at;
        if (*at == '\0') return !numbers.empty();
        char* end = nullptr;
        errno = 0;
        const long long value = strtoll(at, &end, 10);
        if (end == at || errno == ERANGE || (*end != '\0' && !blank(*end))) return false;
        numbers.push_back(value);
        at = end;
    }
}

// The numbers of one record, taken in turn, each within its bounds.
class Fields {
public:
    explicit Fields(const std::vector<long long>& numbers) : numbers(numbers) {}
    bool take(long long& value, long long lowest, long long highest) {
        if (at >= numbers.size() || numbers[at] < lowest || numbers[at] > highest) return false;
        value = numbers[at++];
        return true;
    }
    bool allTaken() const { return at == numbers.size(); }

private:
    const std::vector<long long>& numbers;
    size_t at = 0;
};

class Reader {
public:
    explicit Reader(GroupState& group) : group(group) {}
    bool shaft(Fields& fields);
    bool car(Fields& fields, int index);
    bool hall(Fields& fields, int& lastSlot);

private:
    bool storey(Fields& fields, long long& value, bool noneAllowed = false);
    bool passenger(Fields& fields, Passenger& read);
    int ticksAllowed(Car::Activity activity) const;

    GroupState& group;
    std::set<int> ids;
};

bool Reader::storey(Fields& fields, long long& value, bool noneAllowed) {
    if (!fields.take(value, noneAllowed ? noStorey : 0, StoreySet::maxStoreys - 1)) return false;
    return (noneAllowed && value == noStorey) || group.served.contains(static_cast<int>(value));
}

bool Reader::passenger(Fields& fields, Passenger& read) {
    long long id, origin, destination, calledAt;
    if (!fields.take(id, 0, std::numeric_limits<int>::max()) || !storey(fields, origin) ||
        !storey(fields, destination) || !fields.take(calledAt, 0, group.clock) || origin == destination)
        return false;
    read = Passenger{static_cast<int>(id), static_cast<int>(origin), static_cast<int>(destination), calledAt};
    return ids.insert(read.id).second;
}

bool Reader::shaft(Fields& fields) {
    const long long cars = static_cast<long long>(group.cars.size());
    long long clock, parking, carCount, boarded, delivered, waitTicks, longestWait;
    if (!fields.take(clock, 0, most / 2)) return false;
    group.clock = clock;
    if (!storey(fields, parking, true) || !fields.take(carCount, cars, cars) || !fields.take(boarded, 0, most) ||
        !fields.take(delivered, 0, boarded) || !fields.take(waitTicks, 0, most) || !fields.take(longestWait, 0, most) ||
        !fields.allTaken())
        return false;
    group.parking = static_cast<int>(parking);
    group.stats = ShaftStats{boarded, delivered, waitTicks, longestWait};
    return true;
}

int Reader::ticksAllowed(Car::Activity activity) const {
    switch (activity) {
    case Car::Activity::Opening:
        return group.timing.openTicks();
    case Car::Activity::Alighting:
    case Car::Activity::Boarding:
        return group.timing.transferTicks;
    case Car::Activity::Closing:
        return group.timing.closeTicks();
    default:
        return 0;
    }
}

bool Reader::car(Fields& fields, int index) {
    const int perStorey = group.timing.ticksPerStorey;
    long long number, position, direction, activityCode, ticksLeft, goal, riders;
    // A closed shaft serves nothing; its cars stay where they were.
    const StoreySet bounds = group.served.empty() ? StoreySet::range(0, StoreySet::maxStoreys - 1) : group.served;
    if (!fields.take(number, index, index) ||
        !fields.take(position, bounds.lowest() * perStorey, bounds.highest() * perStorey) ||
        !fields.take(direction, -1, 1) || !fields.take(activityCode, 0, static_cast<int>(Car::Activity::Closing)))
        return false;
    const auto activity = static_cast<Car::Activity>(activityCode);
    const int allowed = ticksAllowed(activity);
    if (!fields.take(ticksLeft, allowed ? 1 : 0, allowed) || !storey(fields, goal, true) ||
        !fields.take(riders, 0, group.timing.capacity))
        return false;
    Car& car = group.cars[index];
    car.place(static_cast<int>(position));
    car.setDirection(static_cast<Direction>(direction));
    car.start(activity, static_cast<int>(ticksLeft));
    car.setGoal(static_cast<int>(goal));
    for (long long i = 0; i < riders; ++i) {
        Passenger rider;
        if (!passenger(fields, rider)) return false;
        car.board(rider);
    }
    if (!fields.allTaken()) return false;

    const bool moving = activity == Car::Activity::Moving;
    const bool stopped = !moving && activity != Car::Activity::Idle;
    const int here = car.storey();
    if (moving && car.direction() == Direction::None) return false;
    if (!moving && !car.atStorey()) return false;
    if (stopped && (car.direction() == Direction::None || !group.served.contains(here))) return false;
    // Those who get out have all got out before anyone gets in.
    if (activity == Car::Activity::Alighting && car.alightingAt(here) == 0) return false;
    if ((activity == Car::Activity::Boarding || activity == Car::Activity::Closing) && car.alightingAt(here) > 0)
        return false;
    return true;
}

bool Reader::hall(Fields& fields, int& lastSlot) {
    long long at, direction, assigned, count;
    if (!storey(fields, at) || !fields.take(direction, -1, 1) || direction == 0 ||
        !fields.take(assigned, 0, (1LL << group.cars.size()) - 1) || !fields.take(count, 1, mostPeople))
        return false;
    const int slot = static_cast<int>(at) * 2 + (direction > 0 ? 0 : 1);
    if (slot <= lastSlot) return false;
    lastSlot = slot;
    for (long long i = 0; i < count; ++i) {
        Passenger waiter;
        if (!passenger(fields, waiter) || waiter.origin != at ||
            static_cast<long long>(waiter.direction()) != direction)
            return false;
        group.enqueue(waiter);
    }
    for (int car = 0; car < static_cast<int>(group.cars.size()); ++car)
        if (assigned >> car & 1) group.assign(static_cast<int>(at), static_cast<Direction>(direction), car);
    return fields.allTaken();
}

}  // namespace

std::vector<std::string> write(const GroupState& group) {
    std::vector<std::string> records;
    const ShaftStats& stats = group.stats;
    records.push_back(record(shaftKind, group.clock, group.parking, group.cars.size(), stats.boarded, stats.delivered,
                             stats.waitTicks, stats.longestWait));
    for (size_t index = 0; index < group.cars.size(); ++index) {
        const Car& car = group.cars[index];
        std::string line = record(carKind, index, car.position(), static_cast<int>(car.direction()),
                                  static_cast<int>(car.activity()), car.ticksLeft(), car.goal(), car.load());
        for (const Passenger& rider : car.riders())
            append(line, rider);
        records.push_back(line);
    }
    for (int storey = 0; storey < StoreySet::maxStoreys; ++storey) {
        for (Direction direction : {Direction::Up, Direction::Down}) {
            const PassengerQueue& waiting = group.hall(storey, direction);
            if (waiting.empty()) continue;
            std::string line = record(hallKind, storey, static_cast<int>(direction),
                                      group.assignedCars(storey, direction), waiting.size());
            for (int i = 0; i < waiting.size(); ++i)
                append(line, waiting.at(i));
            records.push_back(line);
        }
    }
    return records;
}

bool read(const std::vector<std::string>& records, GroupState& group) {
    const size_t cars = group.cars.size();
    if (records.size() < 1 + cars) return false;
    Reader reader(group);
    std::vector<long long> numbers;
    int lastSlot = -1;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!parse(records[i], numbers)) return false;
        Fields fields(numbers);
        long long kind;
        const long long expected = i == 0 ? shaftKind : i <= cars ? carKind : hallKind;
        if (!fields.take(kind, expected, expected)) return false;
        const bool fine = kind == shaftKind ? reader.shaft(fields)
                          : kind == carKind ? reader.car(fields, static_cast<int>(i) - 1)
                                            : reader.hall(fields, lastSlot);
        if (!fine) return false;
    }
    return true;
}

}  // namespace shaftRecords
