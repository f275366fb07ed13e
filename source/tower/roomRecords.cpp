#include "roomRecords.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <unordered_map>

#include "BasicRoom.h"
#include "Elevator.h"
#include "Map.h"
#include "RoomDefs.h"
#include "RoomFactory.h"
#include "Room.h"
#include "Tile.h"

namespace {

// Splits a record into its words; numbers must be whole and fit an int.
struct Fields {
    std::vector<std::string> words;
    size_t next;

    // Most records open with a word naming their kind; the numbers follow it.
    explicit Fields(const std::string& line, size_t firstNumber = 1) : next(firstNumber) {
        size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
            const size_t start = at;
            while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r') ++at;
            if (at > start) words.push_back(line.substr(start, at - start));
        }
    }
    bool number(int& value) {
        if (next >= words.size()) return false;
        const char* text = words[next].c_str();
        errno = 0;
        char* end = nullptr;
        const long read = strtol(text, &end, 10);
        if (end == text || *end != '\0' || errno == ERANGE || read < INT_MIN || read > INT_MAX) return false;
        value = static_cast<int>(read);
        ++next;
        return true;
    }
    bool flag(bool& value) {
        int read = 0;
        if (!number(read) || (read != 0 && read != 1)) return false;
        value = read == 1;
        return true;
    }
    bool allRead() const { return next == words.size(); }
};

}  // namespace

bool RoomRecords::save(const Map& map, FILE* file) {
    struct Entry {
        const BasicRoom* room;
        std::vector<point> cells;
    };
    std::vector<Entry> entries;
    std::unordered_map<const Room*, size_t> seen;
    for (int z = 0; z < map.getMaxFloors(); ++z)
        for (int x = 0; x < map.getWidth(); ++x)
            for (int y = 0; y < map.getHeight(); ++y) {
                const auto* room = dynamic_cast<const BasicRoom*>(map.roomAt(x, y, z));
                if (!room) continue;
                auto found = seen.find(room);
                if (found == seen.end()) {
                    found = seen.emplace(room, entries.size()).first;
                    entries.push_back(Entry{room, {}});
                }
                entries[found->second].cells.push_back(point(x, y, z));
            }

    bool ok = saveSections::writeHeader(file, "rooms", static_cast<long>(entries.size()));
    for (const Entry& entry : entries) {
        const aRoom* def = roomDefinition(entry.room->getRoomType());
        const point anchor = entry.room->getLocation();
        ok = fprintf(file, "%s %d %d %d %d %d %d", def ? def->kindName.c_str() : "?", anchor.x, anchor.y, anchor.z,
                     entry.room->getVariant(), entry.room->getSerial(), static_cast<int>(entry.cells.size())) > 0 &&
             ok;
        for (const point& cell : entry.cells) ok = fprintf(file, " %d %d %d", cell.x, cell.y, cell.z) > 0 && ok;
        if (const auto* elevator = dynamic_cast<const Elevator*>(entry.room)) {
            const ElevatorCar::State car = elevator->car().state();
            ok = fprintf(file, " %d %d %d %d %d %d %d", car.rise, car.goalFloor, car.goingUp ? 1 : 0,
                         car.goingDown ? 1 : 0, car.arrived ? 1 : 0, car.passengers, car.graphic) > 0 &&
                 ok;
        }
        ok = fputc('\n', file) != EOF && ok;
    }

    ok = saveSections::writeHeader(file, "kinds", static_cast<long>(rooms.size())) && ok;
    for (size_t kind = 0; kind < rooms.size(); ++kind) {
        const RoomCounters::Next next = map.counters().peek(static_cast<int>(kind));
        ok = fprintf(file, "%s %d %d\n", rooms[kind].kindName.c_str(), next.variant, next.serial) > 0 && ok;
    }
    ok = saveSections::writeHeader(file, "shuttle", 1) && ok;
    ok = fprintf(file, "%d\n", map.shuttle().nextGoal()) > 0 && ok;
    return ok;
}

RoomRecords::RoomRecords(Map& tower) : map(tower) {
    map.removeAllRooms();
    for (size_t kind = 0; kind < rooms.size(); ++kind) {
        const RoomCounters::Next next = map.counters().peek(static_cast<int>(kind));
        counters.push_back(Counter{next.variant, next.serial, 0});
    }
}

bool RoomRecords::read(const std::string& name, saveSections::Reader& reader) {
    std::string line;
    if (name == "rooms") {
        for (long index = 1; reader.nextRecord(line); ++index) readRoom(line, index, reader);
    } else if (name == "kinds") {
        readKinds(reader);
    } else if (name == "shuttle") {
        int goal = 0;
        if (reader.nextRecord(line)) {
            Fields fields(line, 0);
            if (!fields.number(goal) || !fields.allRead() || !map.shuttle().setNextGoal(goal)) {
                reader.report("the shuttle's next floor is not 0 or 1; it was left as it was");
            }
        }
        reader.skipRecords();
    } else {
        return false;
    }
    return true;
}

void RoomRecords::readRoom(const std::string& line, long index, saveSections::Reader& reader) {
    auto skipped = [&](long record, const char* why) { reader.report("room record %ld skipped: %s", record, why); };
    Fields fields(line);
    const int kind = fields.words.empty() ? -1 : roomKindIndex(fields.words[0]);
    aRoom* def = roomDefinition(kind);
    if (!def) return skipped(index, "its kind is not one of the game's");
    const bool elevator = def->type == ELEVATOR, lobbyKind = kind == 0;
    if (!lobbyKind && def->type != BASIC && !elevator) return skipped(index, "its kind builds no room");

    int x = 0, y = 0, z = 0, variant = 0, serial = 0, cellCount = 0;
    if (!fields.number(x) || !fields.number(y) || !fields.number(z) || !fields.number(variant) ||
        !fields.number(serial) || !fields.number(cellCount)) {
        return skipped(index, "it is cut short");
    }
    const int gridCells = map.getWidth() * map.getHeight() * map.getMaxFloors();
    if (cellCount < 1 || cellCount > gridCells) return skipped(index, "its number of cells is impossible");
    // The grid the file's header gave, which may be smaller than the map's room.
    auto inGrid = [this](int cx, int cy, int cz) {
        return cx >= 0 && cy >= 0 && cz >= 0 && cx < map.getWidth() && cy < map.getHeight() && cz < map.getMaxFloors();
    };
    if (!inGrid(x, y, z)) return skipped(index, "it lies outside the grid");
    std::vector<point> cells;
    for (int i = 0; i < cellCount; ++i) {
        int cx = 0, cy = 0, cz = 0;
        if (!fields.number(cx) || !fields.number(cy) || !fields.number(cz)) return skipped(index, "it is cut short");
        if (!inGrid(cx, cy, cz)) return skipped(index, "it lies outside the grid");
        cells.push_back(point(cx, cy, cz));
    }
    ElevatorCar::State car;
    if (elevator && !(fields.number(car.rise) && fields.number(car.goalFloor) && fields.flag(car.goingUp) &&
                      fields.flag(car.goingDown) && fields.flag(car.arrived) && fields.number(car.passengers) &&
                      fields.number(car.graphic))) {
        return skipped(index, "its elevator car is cut short");
    }
    if (!fields.allRead()) return skipped(index, "it holds more than a record of its kind");
    for (const point& cell : cells) {
        if (map.roomAt(cell.x, cell.y, cell.z)) return skipped(index, "it covers a cell another room covers");
        const Tile* tile = map.tileAt(cell.x, cell.y, cell.z);
        if (!tile || !tile->hasFloor()) return skipped(index, "it covers a cell without a floor");
    }
    if (lobbyKind && map.getLobby()) return skipped(index, "the tower has a lobby already");
    if (variant < 0 || variant > def->maxVariant) return skipped(index, "its kind has no such picture");
    if (serial < 1) return skipped(index, "its serial number is not 1 or more");

    Description description;
    description.kind = kind;
    description.anchor = point(x, y, z);
    description.variant = variant;
    description.serial = serial;
    description.car = car;
    bool carRestored = true;
    std::unique_ptr<Room> room = rebuild(description, &carRestored);
    if (!carRestored) reader.report("the car of the elevator at %d %d %d starts again from its lowest floor", x, y, z);
    Counter& counter = counters[static_cast<size_t>(kind)];
    if (serial > counter.highestSerial) counter.highestSerial = serial;
    map.adoptRoom(std::move(room), cells);
}

bool RoomRecords::describe(const Room* room, Description& description) {
    const auto* basic = dynamic_cast<const BasicRoom*>(room);
    if (!basic) return false;
    description.kind = basic->getRoomType();
    description.anchor = basic->getLocation();
    description.variant = basic->getVariant();
    description.serial = basic->getSerial();
    if (const auto* elevator = dynamic_cast<const Elevator*>(basic)) description.car = elevator->car().state();
    description.uid = basic->getUid();
    return true;
}

std::unique_ptr<Room> RoomRecords::rebuild(const Description& description, bool* carRestored) {
    std::unique_ptr<BasicRoom> room =
        makeRoom(description.kind, description.anchor, RoomCounters::Next{description.variant, description.serial});
    if (!room) return nullptr;
    if (auto* shaft = dynamic_cast<Elevator*>(room.get())) {
        const bool restored = shaft->car().restore(description.car, Shuttle::topFloor);
        if (carRestored) *carRestored = restored;
    }
    room->setUid(description.uid);
    return room;
}

void RoomRecords::readKinds(saveSections::Reader& reader) {
    std::string line;
    while (reader.nextRecord(line)) {
        Fields fields(line);
        const int kind = fields.words.empty() ? -1 : roomKindIndex(fields.words[0]);
        int nextVariant = 0, count = 0;
        if (kind < 0 || !fields.number(nextVariant) || !fields.number(count) || !fields.allRead() ||
            nextVariant < 0 || nextVariant > rooms[static_cast<size_t>(kind)].maxVariant || count < 1) {
            reader.report("a kind record was passed over: %.40s", line.c_str());
            continue;
        }
        counters[static_cast<size_t>(kind)].nextVariant = nextVariant;
        counters[static_cast<size_t>(kind)].count = count;
    }
}

void RoomRecords::finish() {
    map.reopenUncoveredCells();
    for (size_t kind = 0; kind < counters.size() && kind < rooms.size(); ++kind) {
        const Counter& counter = counters[kind];
        // Past the highest serial a room came back with; at the very top the
        // last number is taken again rather than wrapped to a negative one.
        const int past = counter.highestSerial < INT_MAX ? counter.highestSerial + 1 : INT_MAX;
        map.counters().set(static_cast<int>(kind), RoomCounters::Next{counter.nextVariant, std::max(counter.count, past)});
    }
}
