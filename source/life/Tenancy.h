#ifndef ZENTROVA_TENANCY_H
#define ZENTROVA_TENANCY_H

#include <cstdint>
#include <string>
#include <vector>

#include "Layout.h"
#include "CarTiming.h"
#include "Planner.h"
#include "Random.h"

namespace life {

// How a room's people find the elevators, from their recent waits.
enum class Service : unsigned char { Vacant, Good, Fair, Poor };

// Who rents the rooms and how well they are served: an office is taken by a
// company some while after it can be reached and kept while its staff are
// served; a hotel room takes guests for the night with a chance that rises
// with the tower's stars and falls with the room's service. From the people
// and their waits it rates the tower, one to five stars.
class Tenancy {
public:
    // Recent service is the average wait of the last days, in ticks.
    static constexpr int daysRemembered = 3;
    // Ten game minutes, 100 ticks, are some 30 seconds of a real car's time.
    static constexpr sim::Tick goodWait = 100;
    static constexpr sim::Tick fairWait = 200;
    static constexpr sim::Tick leavingWait = 300;  // an office whose staff wait longer gives notice
    static constexpr int tripsToJudge = 24;        // a day of an office's journeys; fewer say nothing yet
    struct Star {
        int population;
        sim::Tick averageWait;  // at most, over the tower's last days
        int storeysOpen;        // what the star opens
    };
    // The stars from one to five; without any, three storeys are open.
    static const Star stars[5];
    static constexpr int storeysAtFirst = 3;

    explicit Tenancy(std::uint64_t seed);

    // The rooms of a new layout: rooms that stay keep their tenants; new ones start vacant.
    void setRooms(const Layout& layout);
    // Someone of the room finished a journey, having waited this long.
    void recordTrip(int roomUid, sim::Tick waited);
    // 17:00: reachable hotel rooms take guests for the night, by chance.
    void bookEvening(const Planner& route);
    // Midnight: the day's service is remembered, companies that were kept
    // waiting or cut off leave, vacant offices within reach find tenants
    // to come some hours later, and the tower is rated again.
    void midnight(const Planner& route, sim::Tick now);
    // Companies whose moving day has come move in.
    void moveIn(sim::Tick now);

    // Whether the room's people come: an office with a company, a hotel room booked tonight.
    bool admits(int roomUid) const;
    // Whether a company has chosen the office and comes soon.
    bool movingIn(int roomUid) const;
    // Whether the room earns its rent at this midnight: a hotel room booked
    // for the night, an office that had its company the whole day before.
    bool paysRent(int roomUid) const;
    Service serviceOf(int roomUid) const;
    // The room's average wait over the days remembered, or -1 with too few journeys.
    sim::Tick recentWait(int roomUid) const;
    // People whose rooms are rented or booked, and the tower's recent average wait.
    int population() const;
    sim::Tick towerWait() const;
    int rating() const { return current; }
    int bestRating() const { return best; }
    int storeysOpen() const;
    // "no star", "one star", ... "five stars", as the messages say it.
    static const char* starName(int stars);
    // The star that opens the storey (counted from 1, as the game shows it)
    // when it is not open yet; 0 when it is.
    int starOpening(int storey) const;
    // What happened that the player should hear of, oldest first; cleared by the taking.
    std::vector<std::string> takeNews();

    std::vector<std::string> save(const Layout& layout) const;
    bool load(const std::vector<std::string>& records, const Layout& layout, std::string& why);

private:
    struct Record {
        int uid = 0;
        RoomUse use = RoomUse::None;
        int storey = 0;
        bool rented = false;      // an office's company, or a hotel room's booking tonight
        sim::Tick moveIn = -1;    // an office's company coming, or -1
        int daysRented = 0;       // whole days the company has had it
        sim::Tick waits[daysRemembered] = {0, 0, 0};
        int trips[daysRemembered] = {0, 0, 0};
    };
    Record* find(int uid);
    const Record* find(int uid) const;
    void rate();

    sim::Random chance;
    std::vector<Record> records;  // by uid
    int current = 0;
    int best = 0;
    std::vector<std::string> news;
};

}  // namespace life

#endif
