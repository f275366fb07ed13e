#include "Life.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace life {

struct Life::ShaftRun {
    int uid;
    std::unique_ptr<sim::Shaft> shaft;
    TripTotals today;  // trips: those who boarded since midnight
};

namespace {

bool later(const Life::Wake& a, const Life::Wake& b) {
    if (a.tick != b.tick) return a.tick > b.tick;
    if (a.id != b.id) return a.id > b.id;
    return a.serial > b.serial;
}

// Figures by role: two suits for the staff, casual clothes for the guests.
int lookFor(Role role, int id) { return role == Role::Worker ? id % 2 : 2 + id % 4; }

Tick dayStartOf(Tick tick) { return tick / ticksPerDay * ticksPerDay; }

}  // namespace

Life::Life(std::uint64_t seedValue, Tick start)
    : clock(start), seed(seedValue), arrivals(seedValue, 1), current(std::make_unique<Layout>()), tenants(seedValue) {
    current->finish();
    route = std::make_unique<Planner>(*current);
    events.reserve(64);
}

Life::~Life() = default;

Person* Life::find(int id) {
    auto found = std::lower_bound(crowd.begin(), crowd.end(), id, [](const Person& p, int key) { return p.id < key; });
    return found != crowd.end() && found->id == id ? &*found : nullptr;
}

const Person* Life::person(int id) const { return const_cast<Life*>(this)->find(id); }

Life::ShaftRun* Life::runOf(int uid) {
    auto found = std::lower_bound(shafts.begin(), shafts.end(), uid, [](const ShaftRun& r, int key) { return r.uid < key; });
    return found != shafts.end() && found->uid == uid ? &*found : nullptr;
}

const sim::Shaft* Life::shaft(int uid) const {
    const ShaftRun* run = const_cast<Life*>(this)->runOf(uid);
    return run ? run->shaft.get() : nullptr;
}

const TripTotals& Life::todayBy(int shaftUid) const {
    static const TripTotals none;
    const ShaftRun* run = const_cast<Life*>(this)->runOf(shaftUid);
    return run ? run->today : none;
}

void Life::setLayout(Layout layout, bool atOnce) {
    pending = std::make_unique<Layout>(std::move(layout));
    pending->finish();
    if (atOnce) applyLayout();
}

void Life::advance(Tick target, int maxTicks) {
    for (int n = 0; clock < target && n < maxTicks; ++n) tick();
}

void Life::wakeAt(Person& person, Tick when) {
    person.wake = when;
    ++person.wakeSerial;
    queue.push_back(Wake{when, person.id, person.wakeSerial});
    std::push_heap(queue.begin(), queue.end(), later);
}

void Life::tick() {
    if (pending && clock % sim::ticksPerGameMinute == 0) applyLayout();
    const Tick ofDay = clock % ticksPerDay;
    if (ofDay == 0) newDay();
    if (ofDay == ticksAt(6, 0) || ofDay == ticksAt(10, 0)) updateParking();
    if (ofDay == ticksAt(17, 0)) tenants.bookEvening(*route);
    if (clock % sim::ticksPerGameMinute == 0) tenants.moveIn(clock);
    while (!queue.empty() && queue.front().tick <= clock) {
        std::pop_heap(queue.begin(), queue.end(), later);
        const Wake due = queue.back();
        queue.pop_back();
        Person* person = find(due.id);
        if (!person || person->wakeSerial != due.serial || person->wake != due.tick) continue;
        person->wake = -1;
        wakeUp(*person);
    }
    for (size_t i = 0; i < shafts.size(); ++i) {
        events.clear();
        shafts[i].shaft->step(events);
        for (const sim::ShaftEvent& event : events) onShaft(event, nullptr);
    }
    ++clock;
    dropDoomed();
}

void Life::dropDoomed() {
    if (doomed.empty()) return;
    crowd.erase(std::remove_if(crowd.begin(), crowd.end(),
                               [this](const Person& p) {
                                   return std::find(doomed.begin(), doomed.end(), p.id) != doomed.end();
                               }),
                crowd.end());
    doomed.clear();
}

void Life::newDay() {
    tenants.midnight(*route, clock);
    todays = TripTotals();
    for (ShaftRun& run : shafts) run.today = TripTotals();
}

void Life::updateParking() {
    const Tick ofDay = clock % ticksPerDay;
    // An idle car waits at the lobby for the morning's arrivals.
    const bool morning = ofDay >= ticksAt(6, 0) && ofDay < ticksAt(10, 0);
    for (ShaftRun& run : shafts) run.shaft->setParkingStorey(morning ? run.shaft->served().lowest() : sim::noStorey);
}

void Life::planDay(Person& person, Tick dayStart) {
    if (person.role == Role::Guest) {
        person.arrive = dayStart + ticksAt(17, 0) + arrivals.uniform(0, static_cast<int>(ticksAt(4, 0)) - 1);
        person.depart = dayStart + ticksPerDay + ticksAt(7, 0) + arrivals.uniform(0, static_cast<int>(ticksAt(3, 0)) - 1);
        person.lunchOut = person.lunchBack = 0;
    } else {
        person.arrive = dayStart + ticksAt(7, 0) + arrivals.uniform(0, static_cast<int>(ticksAt(2, 0)) - 1);
        person.lunchOut = dayStart + ticksAt(11, 30) + arrivals.uniform(0, static_cast<int>(ticksAt(1, 0)) - 1);
        person.lunchBack = person.lunchOut + ticksAt(0, 30) + arrivals.uniform(0, static_cast<int>(ticksAt(0, 30)) - 1);
        person.depart = dayStart + ticksAt(17, 0) + arrivals.uniform(0, static_cast<int>(ticksAt(2, 0)) - 1);
    }
}

// The day's next step once someone is in their room or out of the tower.
void Life::scheduleNext(Person& person) {
    const bool inside = person.where == Where::InRoom;
    if (person.role == Role::Guest) {
        if (inside) {
            person.phase = 1;
            wakeAt(person, std::max(clock + 1, person.depart));
            return;
        }
    } else if (inside) {
        person.phase = person.phase == 0 ? 1 : 3;
        wakeAt(person, std::max(clock + 1, person.phase == 1 ? person.lunchOut : person.depart));
        return;
    } else if (person.phase == 1) {
        person.phase = 2;  // out to lunch
        wakeAt(person, std::max(clock + 1, person.lunchBack));
        return;
    }
    // Out for the day: the next day's times.
    person.phase = 0;
    planDay(person, dayStartOf(clock));
    if (person.arrive <= clock) planDay(person, dayStartOf(clock) + ticksPerDay);
    wakeAt(person, person.arrive);
}

void Life::wakeUp(Person& person) {
    switch (person.where) {
    case Where::Outside: arrive(person); break;
    case Where::InRoom: {
        const int room = current->roomIndex(person.roomUid);
        if (room < 0 || current->doors(room).empty()) {
            wakeAt(person, clock + retryTicks);  // shut in for now
            break;
        }
        person.leaving = true;
        person.tripStart = clock;
        person.waited = 0;
        stand(person, current->doors(room).front());
        journey(person);
        break;
    }
    case Where::Walking: {
        if (!person.path.empty()) person.cell = person.path.back();
        person.path.clear();
        if (person.shaft >= 0) {
            ShaftRun* run = runOf(person.shaft);
            const int storey = current->storeyOf(person.cell);
            if (run && current->hallOf(person.cell) >= 0 && run->shaft->call(person.id, storey, person.rideTo)) {
                person.where = Where::Waiting;
                person.waitStart = clock;
                wakeAt(person, clock + patienceTicks);
                break;
            }
            person.shaft = -1;
            journey(person);
            break;
        }
        const int room = current->roomIndex(person.roomUid);
        const bool out = person.leaving && current->hasEntrance() && person.cell == current->entrance();
        const std::vector<int>* doors = room >= 0 ? &current->doors(room) : nullptr;
        const bool home = !person.leaving && doors && std::find(doors->begin(), doors->end(), person.cell) != doors->end();
        if (out || home) {
            finishJourney(person);
        } else {
            journey(person);
        }
        break;
    }
    case Where::Waiting:
        // Nobody stays away from home for a lift: those leaving wait on.
        if (person.leaving) {
            wakeAt(person, clock + patienceTicks);
            break;
        }
        giveUpWaiting(person);
        person.leaving = true;
        journey(person);
        break;
    case Where::Riding: break;
    }
}

void Life::giveUpWaiting(Person& person) {
    if (ShaftRun* run = runOf(person.shaft)) run->shaft->withdraw(person.id);
    person.waited += clock - person.waitStart;
    person.shaft = -1;
    person.where = Where::Walking;
    stand(person, person.cell);
}

void Life::arrive(Person& person) {
    if (person.orphan) {
        doomed.push_back(person.id);
        return;
    }
    const int room = current->roomIndex(person.roomUid);
    if (room < 0 || !tenants.admits(person.roomUid) || route->fromLobby(room) != Unreachable::No) {
        // Not let, or out of reach: they stay away, and that part of their day is lost.
        person.leaving = true;
        scheduleNext(person);
        return;
    }
    person.leaving = false;
    person.tripStart = clock;
    person.waited = 0;
    stand(person, current->entrance());
    journey(person);
}

void Life::stand(Person& person, int cell) {
    person.cell = cell;
    person.path.clear();
    person.walkStart = clock;
}

void Life::journey(Person& person) {
    int room = current->roomIndex(person.roomUid);
    if (room < 0) person.leaving = true;
    if (!current->walkable(person.cell)) {
        leaveTower(person);
        return;
    }
    Goal goal{person.leaving ? Goal::Exit : Goal::Room, person.leaving ? -1 : room};
    bool found = route->plan(person.cell, goal, leg);
    if (!found && !person.leaving) {
        // The room cannot be reached from here any more: they give up and go.
        person.leaving = true;
        goal = Goal{Goal::Exit, -1};
        found = route->plan(person.cell, goal, leg);
    }
    person.where = Where::Walking;
    person.walkStart = clock;
    person.path.assign(leg.path.begin(), leg.path.end());
    if (!found) {
        // Nowhere to go from here: they stand and try again later.
        person.path.clear();
        person.shaft = -1;
        wakeAt(person, clock + retryTicks);
        return;
    }
    person.shaft = leg.toHall ? current->shafts()[static_cast<size_t>(leg.shaft)].uid : -1;
    person.rideTo = leg.rideTo;
    person.landing = leg.landing;
    wakeAt(person, clock + std::max<Tick>(1, static_cast<Tick>(person.path.size()) * ticksPerCell));
}

void Life::finishJourney(Person& person) {
    if (!person.orphan) tenants.recordTrip(person.roomUid, person.waited);
    ++todays.trips;
    todays.waitTicks += person.waited;
    todays.journeyTicks += clock - person.tripStart;
    todays.longestWait = std::max(todays.longestWait, person.waited);
    person.path.clear();
    person.shaft = -1;
    if (person.leaving) {
        person.where = Where::Outside;
        person.cell = -1;
        if (person.orphan) {
            doomed.push_back(person.id);
            return;
        }
    } else {
        person.where = Where::InRoom;
    }
    scheduleNext(person);
}

void Life::leaveTower(Person& person) {
    // Stranded where nobody can stand: they are taken out of the tower.
    person.where = Where::Outside;
    person.cell = -1;
    person.path.clear();
    person.shaft = -1;
    person.leaving = true;
    if (person.orphan) {
        doomed.push_back(person.id);
        return;
    }
    scheduleNext(person);
}

int Life::landingCell(int shaftUid, int storey, int landing, const Layout* before) const {
    const int shaft = current->shaftIndex(shaftUid);
    if (shaft >= 0) {
        if (landing >= 0) {
            const int hall = route->hallIn(shaft, storey, landing);
            if (hall >= 0) return hall;
        }
        const std::vector<int>& halls = current->halls(shaft, storey);
        if (!halls.empty()) return halls.front();
    }
    // The shaft is gone, or no longer serves there: beside its columns, if
    // anyone can stand there.
    const Layout* old = before ? before : current.get();
    const int oldShaft = old->shaftIndex(shaftUid);
    if (oldShaft < 0 || storey < 0 || storey >= current->storeys()) return -1;
    for (int column : old->shafts()[static_cast<size_t>(oldShaft)].footprint) {
        const int x = old->xOf(column), y = old->yOf(column);
        const int around[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& c : around)
            if (current->inside(c[0], c[1], storey) && current->walkable(current->index(c[0], c[1], storey)))
                return current->index(c[0], c[1], storey);
    }
    return -1;
}

void Life::onShaft(const sim::ShaftEvent& event, const Layout* before) {
    Person* found = find(event.passenger);
    if (!found) return;
    Person& person = *found;
    switch (event.kind) {
    case sim::ShaftEvent::Kind::Boarded: {
        person.where = Where::Riding;
        person.wake = -1;
        ++person.wakeSerial;
        const Tick waited = event.tick - person.waitStart;
        person.waited += waited;
        if (ShaftRun* run = runOf(person.shaft)) {
            ++run->today.trips;
            run->today.waitTicks += waited;
            run->today.longestWait = std::max(run->today.longestWait, waited);
        }
        break;
    }
    case sim::ShaftEvent::Kind::Alighted:
    case sim::ShaftEvent::Kind::PutOut: {
        const int landing = event.kind == sim::ShaftEvent::Kind::Alighted ? person.landing : -1;
        const int cell = landingCell(person.shaft, event.storey, landing, before);
        person.shaft = -1;
        if (cell < 0) {
            leaveTower(person);
            break;
        }
        stand(person, cell);
        journey(person);
        break;
    }
    case sim::ShaftEvent::Kind::HandedBack:
        if (person.where == Where::Waiting) person.waited += clock - person.waitStart;
        person.shaft = -1;
        ++person.wakeSerial;
        person.wake = -1;
        journey(person);
        break;
    }
}

int Life::standingCell(const Person& person) const {
    int from = person.cell, to = person.cell, progress = 0;
    person.walkAt(clock, ticksPerCell, from, to, progress);
    return from;
}

void Life::applyLayout() {
    std::unique_ptr<Layout> before = std::move(current);
    current = std::move(pending);
    route = std::make_unique<Planner>(*current);
    tenants.setRooms(*current);

    // Walkers stop where they are, on the new floors, and go on from there.
    for (Person& person : crowd)
        if (person.where == Where::Walking) {
            stand(person, standingCell(person));
            ++person.wakeSerial;
            person.wake = -1;
        }
    runShaftsOf(before.get());
    rehouse();
    // Those waiting where no hall of their shaft is any more go on another way.
    for (Person& person : crowd) {
        if (person.where != Where::Waiting) continue;
        const int shaft = current->shaftIndex(person.shaft);
        const std::vector<int>& halls = current->halls(shaft, current->storeyOf(person.cell));
        if (std::find(halls.begin(), halls.end(), person.cell) != halls.end()) continue;
        giveUpWaiting(person);
        ++person.wakeSerial;
        person.wake = -1;
    }
    for (Person& person : crowd)
        if (person.where == Where::Walking && person.wake < 0) journey(person);
    dropDoomed();
}

void Life::runShaftsOf(const Layout* before) {
    // Shafts that went, or serve other storeys now, put their people out.
    for (size_t i = 0; i < shafts.size();) {
        ShaftRun& run = shafts[i];
        const int now = current->shaftIndex(run.uid);
        events.clear();
        if (now < 0) {
            run.shaft->close(events);
        } else if (current->shafts()[static_cast<size_t>(now)].served != run.shaft->served()) {
            run.shaft->changeServed(current->shafts()[static_cast<size_t>(now)].served, events);
        }
        for (const sim::ShaftEvent& event : events) onShaft(event, before);
        if (now < 0) {
            shafts.erase(shafts.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    for (const Layout::Shaft& shaft : current->shafts()) {
        if (runOf(shaft.uid)) continue;
        ShaftRun run{shaft.uid, sim::Shaft::create(shaft.served, 1, sim::CarTiming(), sim::DispatchKind::Eta, clock), {}};
        if (!run.shaft) continue;
        auto at = std::lower_bound(shafts.begin(), shafts.end(), shaft.uid,
                                   [](const ShaftRun& r, int key) { return r.uid < key; });
        shafts.insert(at, std::move(run));
    }
    updateParking();
}

void Life::rehouse() {
    // People whose room is gone: in it, or out of the tower, they are gone
    // too; on their way, they now only leave.
    std::vector<int> counted(current->rooms().size(), 0);
    for (Person& person : crowd) {
        if (person.orphan) continue;
        const int room = current->roomIndex(person.roomUid);
        if (room >= 0) {
            // A room of another use under the same uid is another room.
            const RoomUse use = current->rooms()[static_cast<size_t>(room)].use;
            const bool fits = (use == RoomUse::Office) == (person.role == Role::Worker);
            if (fits && counted[static_cast<size_t>(room)] < occupantsOf(use)) {
                ++counted[static_cast<size_t>(room)];
                continue;
            }
        }
        person.orphan = true;
        if (person.where == Where::InRoom || person.where == Where::Outside) doomed.push_back(person.id);
    }
    // New rooms get their people, who come at their first hour.
    for (size_t r = 0; r < current->rooms().size(); ++r) {
        const Layout::Room& room = current->rooms()[r];
        for (int n = counted[r]; n < occupantsOf(room.use); ++n) {
            Person person;
            person.id = nextId++;
            person.roomUid = room.uid;
            person.role = room.use == RoomUse::Office ? Role::Worker : Role::Guest;
            person.look = lookFor(person.role, person.id);
            crowd.push_back(person);
            Person& added = crowd.back();
            added.leaving = true;
            scheduleNext(added);
        }
    }
}

namespace {

// The numbers of a record, read one by one; anything else makes it unreadable.
struct Numbers {
    const char* at;
    bool ok = true;
    explicit Numbers(const std::string& line) : at(line.c_str()) {}
    long long next() {
        if (!ok) return 0;
        char* end = nullptr;
        errno = 0;
        const long long value = strtoll(at, &end, 10);
        if (end == at || errno == ERANGE) ok = false;
        at = end;
        return value;
    }
    int nextInt() {
        const long long value = next();
        if (value < INT_MIN || value > INT_MAX) ok = false;
        return static_cast<int>(value);
    }
    bool done() {
        while (*at == ' ' || *at == '\r') ++at;
        return ok && *at == '\0';
    }
};

void put(std::string& line, long long value) {
    if (!line.empty()) line += ' ';
    line += std::to_string(value);
}

std::string totalsRecord(long long first, const TripTotals& totals) {
    std::string line;
    for (long long value : {first, static_cast<long long>(totals.trips), static_cast<long long>(totals.waitTicks),
                            static_cast<long long>(totals.journeyTicks), static_cast<long long>(totals.longestWait)})
        put(line, value);
    return line;
}

bool readTotals(const std::string& line, long long& first, TripTotals& totals) {
    Numbers numbers(line);
    first = numbers.next();
    totals.trips = static_cast<long>(numbers.next());
    totals.waitTicks = numbers.next();
    totals.journeyTicks = numbers.next();
    totals.longestWait = numbers.next();
    return numbers.done() && totals.trips >= 0 && totals.waitTicks >= 0 && totals.journeyTicks >= 0 &&
           totals.longestWait >= 0;
}

bool adjacent(const Layout& layout, int a, int b) {
    if (layout.storeyOf(a) != layout.storeyOf(b)) return false;
    return std::abs(layout.xOf(a) - layout.xOf(b)) + std::abs(layout.yOf(a) - layout.yOf(b)) == 1;
}

}  // namespace

std::vector<Section> Life::save() const {
    std::vector<Section> sections;
    Section head{"life", {}};
    std::string line;
    put(line, clock);
    put(line, nextId);
    for (std::uint64_t word : arrivals.words()) put(line, static_cast<long long>(word));
    head.records.push_back(line);
    sections.push_back(std::move(head));

    Section people{"people", {}};
    for (const Person& p : crowd) {
        line.clear();
        for (long long value :
             {static_cast<long long>(p.id), static_cast<long long>(current->anchorOf(p.roomUid)), static_cast<long long>(p.role),
              static_cast<long long>(p.look), static_cast<long long>(p.where), static_cast<long long>(p.leaving),
              static_cast<long long>(p.orphan), static_cast<long long>(p.arrive), static_cast<long long>(p.lunchOut),
              static_cast<long long>(p.lunchBack), static_cast<long long>(p.depart), static_cast<long long>(p.phase),
              static_cast<long long>(p.cell), static_cast<long long>(p.walkStart),
              static_cast<long long>(p.shaft >= 0 ? current->anchorOf(p.shaft) : -1),
              static_cast<long long>(p.rideTo), static_cast<long long>(p.landing), static_cast<long long>(p.tripStart),
              static_cast<long long>(p.waitStart), static_cast<long long>(p.waited), static_cast<long long>(p.wake),
              static_cast<long long>(p.wakeSerial), static_cast<long long>(p.path.size())})
            put(line, value);
        for (int cell : p.path) put(line, cell);
        people.records.push_back(line);
    }
    sections.push_back(std::move(people));

    // Shafts in the order of their anchors, which a load keeps, not of their uids, which it does not.
    std::vector<const ShaftRun*> byAnchor;
    for (const ShaftRun& run : shafts) byAnchor.push_back(&run);
    std::sort(byAnchor.begin(), byAnchor.end(), [this](const ShaftRun* a, const ShaftRun* b) {
        return current->anchorOf(a->uid) < current->anchorOf(b->uid);
    });
    Section lifts{"shafts", {}};
    for (const ShaftRun* run : byAnchor)
        for (const std::string& record : run->shaft->save())
            lifts.records.push_back(std::to_string(current->anchorOf(run->uid)) + " " + record);
    sections.push_back(std::move(lifts));

    Section trips{"trips", {totalsRecord(-2, todays)}};  // -2: the whole tower
    for (const ShaftRun* run : byAnchor) trips.records.push_back(totalsRecord(current->anchorOf(run->uid), run->today));
    sections.push_back(std::move(trips));
    sections.push_back(Section{"tenants", tenants.save(*current)});
    return sections;
}

namespace {

// One person's record, checked on its own against the layout and the saved
// clock; nullptr when it reads, else why not.
const char* readPerson(const std::string& record, const Layout& layout, Tick savedClock, Person& p) {
    Numbers n(record);
    p.id = n.nextInt();
    p.roomUid = layout.uidAt(n.nextInt());
    const int role = n.nextInt(), look = n.nextInt(), where = n.nextInt(), leaving = n.nextInt(), orphan = n.nextInt();
    p.arrive = n.next();
    p.lunchOut = n.next();
    p.lunchBack = n.next();
    p.depart = n.next();
    p.phase = n.nextInt();
    p.cell = n.nextInt();
    p.walkStart = n.next();
    const int shaftAnchor = n.nextInt();
    p.shaft = shaftAnchor >= 0 ? layout.uidAt(shaftAnchor) : -1;
    if (shaftAnchor >= 0 && p.shaft < 0) return "someone heads for a shaft that is not there";
    p.rideTo = n.nextInt();
    p.landing = n.nextInt();
    p.tripStart = n.next();
    p.waitStart = n.next();
    p.waited = n.next();
    p.wake = n.next();
    const long long serial = n.next();
    const int steps = n.nextInt();
    if (!n.ok || steps < 0 || steps > layout.cellCount()) return "a person record is unreadable";
    for (int i = 0; i < steps; ++i) p.path.push_back(n.nextInt());
    if (!n.done()) return "a person record is unreadable";
    if (role < 0 || role > 1 || look < 0 || look > 5 || where < 0 || where > 4 || (leaving | orphan) & ~1 ||
        serial < 0 || serial > UINT32_MAX || p.phase < 0 || p.phase > 3) {
        return "a person record holds a value out of range";
    }
    p.role = static_cast<Role>(role);
    p.look = look;
    p.where = static_cast<Where>(where);
    p.leaving = leaving != 0;
    p.orphan = orphan != 0;
    p.wakeSerial = static_cast<std::uint32_t>(serial);
    const bool timed = p.where != Where::Riding;
    if (timed ? p.wake < savedClock : p.wake != -1) return "a person's next step is out of time";
    if (p.where == Where::InRoom && p.orphan) return "someone is in a room that is gone";
    if (p.where == Where::Outside && p.cell != -1) return "someone outside stands in the tower";
    if (p.where == Where::Walking || p.where == Where::Waiting) {
        if (!layout.walkable(p.cell) || p.walkStart > savedClock) return "someone stands where nobody can";
        int previous = p.cell;
        for (int cell : p.path) {
            if (!layout.walkable(cell) || !adjacent(layout, previous, cell)) return "a walk leaves the floors";
            previous = cell;
        }
    } else if (!p.path.empty()) {
        return "someone walks who does not";
    }
    const bool onShaft = p.where == Where::Waiting || p.where == Where::Riding;
    if (onShaft && layout.shaftIndex(p.shaft) < 0) return "someone waits for a shaft that is not there";
    if (p.shaft >= 0 && layout.shaftIndex(p.shaft) < 0) return "someone heads for a shaft that is not there";
    return nullptr;
}

}  // namespace

const char* Life::readPeople(const Section& section, Tick savedClock, int savedNextId, std::vector<Person>& people) const {
    const Layout& layout = *current;
    std::vector<int> perRoom(layout.rooms().size(), 0);
    for (const std::string& record : section.records) {
        Person p;
        if (const char* problem = readPerson(record, layout, savedClock, p)) return problem;
        if (p.id < 1 || p.id >= savedNextId || (!people.empty() && p.id <= people.back().id))
            return "the people's ids are not in order";
        const int room = layout.roomIndex(p.roomUid);
        if ((room >= 0) == p.orphan) return "a person's room is not what the record says";
        if (room >= 0) {
            const RoomUse use = layout.rooms()[static_cast<size_t>(room)].use;
            if ((use == RoomUse::Office) != (p.role == Role::Worker) || ++perRoom[static_cast<size_t>(room)] > occupantsOf(use))
                return "a room has people it cannot have";
        }
        people.push_back(std::move(p));
    }
    for (size_t room = 0; room < layout.rooms().size(); ++room)
        if (perRoom[room] != occupantsOf(layout.rooms()[room].use)) return "a room lacks its people";
    return nullptr;
}

const char* Life::readShafts(const Section& section, Tick savedClock, const std::vector<Person>& people,
                             std::vector<ShaftRun>& runs) const {
    const Layout& layout = *current;
    for (const Layout::Shaft& shaft : layout.shafts()) {
        ShaftRun run{shaft.uid, sim::Shaft::create(shaft.served, 1, sim::CarTiming(), sim::DispatchKind::Eta, savedClock), {}};
        if (!run.shaft) return "a shaft cannot run";
        runs.push_back(std::move(run));
    }
    std::vector<std::vector<std::string>> records(runs.size());
    for (const std::string& record : section.records) {
        Numbers n(record);
        const int index = layout.shaftIndex(layout.uidAt(n.nextInt()));
        if (!n.ok || index < 0) return "a shaft record names no shaft";
        records[static_cast<size_t>(index)].push_back(std::string(n.at + (*n.at == ' ' ? 1 : 0)));
    }
    for (size_t i = 0; i < runs.size(); ++i)
        if (!runs[i].shaft->load(records[i])) return "a shaft's records are impossible";

    // Everyone a shaft holds is someone waiting for it or riding it, and the other way round.
    size_t held = 0;
    for (const ShaftRun& run : runs) {
        auto holds = [&](const sim::Passenger& passenger, Where where) {
            auto found = std::lower_bound(people.begin(), people.end(), passenger.id,
                                          [](const Person& p, int key) { return p.id < key; });
            return found != people.end() && found->id == passenger.id && found->where == where && found->shaft == run.uid;
        };
        const sim::StoreySet served = run.shaft->served();
        for (int storey = served.lowest(); storey >= 0 && storey <= served.highest(); ++storey)
            for (sim::Direction direction : {sim::Direction::Up, sim::Direction::Down}) {
                const sim::PassengerQueue& line = run.shaft->waiting(storey, direction);
                for (int i = 0; i < line.size(); ++i, ++held)
                    if (!holds(line.at(i), Where::Waiting)) return "a shaft's queue and its people differ";
            }
        for (int car = 0; car < run.shaft->carCount(); ++car)
            for (const sim::Passenger& rider : run.shaft->car(car).riders()) {
                ++held;
                if (!holds(rider, Where::Riding)) return "a car's riders and its people differ";
            }
    }
    size_t onShafts = 0;
    for (const Person& p : people) onShafts += p.where == Where::Waiting || p.where == Where::Riding;
    return held == onShafts ? nullptr : "a shaft's queue and its people differ";
}

const char* Life::readTrips(const Section& section, std::vector<ShaftRun>& runs, TripTotals& dayTotals) const {
    for (const std::string& record : section.records) {
        long long uid = 0;
        TripTotals totals;
        if (!readTotals(record, uid, totals)) return "a trip record is unreadable";
        if (uid == -2) {
            dayTotals = totals;
            continue;
        }
        const int index = current->shaftIndex(current->uidAt(static_cast<int>(uid)));
        if (index < 0) return "a trip record names no shaft";
        runs[static_cast<size_t>(index)].today = totals;
    }
    return nullptr;
}

bool Life::load(const std::vector<Section>& sections, std::string& why) {
    auto refuse = [&why](const std::string& reason) {
        why = reason;
        return false;
    };
    constexpr int parts = sizeof sectionNames / sizeof sectionNames[0];
    const Section* byName[parts] = {};
    for (const Section& section : sections)
        for (int i = 0; i < parts; ++i)
            if (section.name == sectionNames[i]) byName[i] = &section;
    for (int i = 0; i < parts; ++i)
        if (!byName[i]) return refuse(std::string("there is no ") + sectionNames[i] + " section");
    if (byName[0]->records.size() != 1) return refuse("the life section is not one record");

    Numbers head(byName[0]->records[0]);
    const Tick savedClock = head.next();
    const int savedNextId = head.nextInt();
    std::array<std::uint64_t, 4> words{};
    for (std::uint64_t& word : words) word = static_cast<std::uint64_t>(head.next());
    if (!head.done() || savedNextId < 1) return refuse("the life record is unreadable");
    // The clock of the tower decides where the people's day stands. Ctrl moves
    // the clock an hour a step while the people catch up in batches, so a
    // save may find them up to that hour behind; they catch up after the load.
    if (savedClock < clock - ticksAt(1, 0) || savedClock > clock + sim::ticksPerGameMinute) {
        return refuse("its time is not the clock's");
    }
    sim::Random savedArrivals(seed, 1);
    if (!savedArrivals.setWords(words)) return refuse("its chance is unreadable");

    std::vector<Person> people;
    std::vector<ShaftRun> runs;
    TripTotals dayTotals;
    const char* problem = readPeople(*byName[1], savedClock, savedNextId, people);
    if (!problem) problem = readShafts(*byName[2], savedClock, people, runs);
    if (!problem) problem = readTrips(*byName[3], runs, dayTotals);
    if (problem) return refuse(problem);
    Tenancy savedTenants = tenants;
    if (!savedTenants.load(byName[4]->records, *current, why)) return false;

    clock = savedClock;
    nextId = savedNextId;
    tenants = savedTenants;
    arrivals = savedArrivals;
    crowd = std::move(people);
    shafts = std::move(runs);
    todays = dayTotals;
    rebuildQueue();
    return true;
}

void Life::rebuildQueue() {
    queue.clear();
    for (const Person& person : crowd)
        if (person.wake >= 0) queue.push_back(Wake{person.wake, person.id, person.wakeSerial});
    std::make_heap(queue.begin(), queue.end(), later);
}

std::uint64_t Life::stateHash() const {
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](long long value) {
        for (int i = 0; i < 8; ++i) {
            hash ^= static_cast<std::uint64_t>(value >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    };
    for (const Section& section : save())
        for (const std::string& record : section.records) {
            for (char ch : record) mix(ch);
            mix('\n');
        }
    return hash;
}

const char* Life::consistencyProblem() const {
    const Life& life = *this;
    const Layout& layout = life.layout();
    std::vector<int> waitsFor, ridesIn;  // by person id: the shaft's uid, or 0
    int largest = 0;
    for (const Person& person : life.people()) largest = std::max(largest, person.id);
    waitsFor.assign(static_cast<size_t>(largest) + 1, 0);
    ridesIn.assign(static_cast<size_t>(largest) + 1, 0);
    auto mark = [&](std::vector<int>& table, int id, int uid) {
        if (id < 0 || id > largest || table[static_cast<size_t>(id)] != 0) return false;
        table[static_cast<size_t>(id)] = uid;
        return true;
    };
    for (const Layout::Shaft& shaft : layout.shafts()) {
        const sim::Shaft* run = life.shaft(shaft.uid);
        if (!run) return "a shaft of the layout does not run";
        const sim::StoreySet served = run->served();
        for (int storey = 0; storey < layout.storeys(); ++storey)
            for (sim::Direction direction : {sim::Direction::Up, sim::Direction::Down}) {
                const sim::PassengerQueue& line = run->waiting(storey, direction);
                if (line.size() > 0 && !served.contains(storey)) return "people wait where the shaft does not stop";
                for (int i = 0; i < line.size(); ++i)
                    if (!mark(waitsFor, line.at(i).id, shaft.uid)) return "someone waits twice, or is nobody";
            }
        for (int c = 0; c < run->carCount(); ++c) {
            const sim::Car& car = run->car(c);
            if (car.load() > run->timing().capacity) return "a car over its capacity";
            const int low = served.lowest() * run->timing().ticksPerStorey;
            const int high = served.highest() * run->timing().ticksPerStorey;
            if (car.position() < low || car.position() > high) return "a car outside its shaft";
            for (const sim::Passenger& rider : car.riders())
                if (!mark(ridesIn, rider.id, shaft.uid)) return "someone rides twice, or is nobody";
        }
    }
    std::vector<std::pair<int, int>> perRoom;  // uid, people
    int previous = 0;
    for (const Person& person : life.people()) {
        if (person.id <= previous) return "the people are not in the order of their ids";
        previous = person.id;
        if (!person.orphan) perRoom.emplace_back(person.roomUid, 1);
        const int waits = waitsFor[static_cast<size_t>(person.id)], rides = ridesIn[static_cast<size_t>(person.id)];
        if ((waits != 0) != (person.where == Where::Waiting)) return "someone waits whom no shaft holds, or the other way";
        if ((rides != 0) != (person.where == Where::Riding)) return "someone rides whom no car holds, or the other way";
        if (waits + rides != 0 && waits + rides != person.shaft) return "someone is with another shaft than their own";
        if ((person.where == Where::Walking || person.where == Where::Waiting) && !layout.walkable(person.cell))
            return "someone stands where nobody can";
        if (person.where == Where::Outside && person.cell != -1) return "someone outside stands in the tower";
    }
    std::sort(perRoom.begin(), perRoom.end());
    for (const Layout::Room& room : layout.rooms()) {
        auto first = std::lower_bound(perRoom.begin(), perRoom.end(), std::make_pair(room.uid, 0));
        auto last = std::upper_bound(perRoom.begin(), perRoom.end(), std::make_pair(room.uid, 1));
        if (last - first != occupantsOf(room.use)) return "a room has not its number of people";
    }
    return nullptr;
}


}  // namespace life
