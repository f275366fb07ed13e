#ifndef ZENTROVA_REPORTS_H
#define ZENTROVA_REPORTS_H

#include <string>
#include <vector>

#include "gPanel.h"
#include "point.h"

class Clock;
class Ledger;
class Map;
namespace life {
class Life;
}

// What the Query Tool says about a cell: the storey and cell, what the cell
// is, and for a room its name, price, rent and next rent day and whether it
// borders the lobby's walkable area; for an elevator the storeys of its shaft
// and what its car does; for the lobby how many cells it has. In a living
// tower also who is where: a room's people, a shaft's waiting and riding,
// and who waits at a hall.
std::vector<std::string> queryReport(Map& map, const Clock& clock, const point& cell,
                                     const life::Life* people = nullptr);

// The finances window: the balance, construction and bulldozing this month
// and last, the rooms of each kind with their rent, and a chart of the rent
// of the last 14 days.
struct FinanceReport {
    std::vector<std::string> lines;
    gPanel::Chart chart;
};
// In a living tower also how many rooms of each kind are let, the tower's
// recent average wait, its stars and its people.
FinanceReport financeReport(const Map& map, const Ledger& ledger, const Clock& clock, double funds,
                            const life::Life* people = nullptr);

#endif
