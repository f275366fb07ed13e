#ifndef ZENTROVA_UNDOHISTORY_H
#define ZENTROVA_UNDOHISTORY_H

#include <deque>
#include <string>
#include <vector>

#include "Ledger.h"
#include "Map.h"
#include "roomRecords.h"

// The last constructions and bulldozings, newest last, each as the tower
// stood before and after it, with what it cost and the rooms it took away.
class UndoHistory {
public:
    static constexpr size_t depth = 20;

    struct Step {
        Map::Cells before;
        Map::Cells after;
        std::vector<RoomRecords::Description> removed;  // rooms the step released
        double cost = 0;
        Ledger::Kind kind = Ledger::CONSTRUCTION;
        std::string what;  // "Single Room 3", "a floor", "the bulldozing"
        long day = 0;      // Clock::dayNumber when it was done
    };

    void push(Step step);
    bool empty() const { return steps.empty(); }
    const Step& newest() const { return steps.back(); }
    void dropNewest() { steps.pop_back(); }
    void clear() { steps.clear(); }
    size_t size() const { return steps.size(); }

private:
    std::deque<Step> steps;
};

#endif
