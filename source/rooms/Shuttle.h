#ifndef ZENTROVA_SHUTTLE_H
#define ZENTROVA_SHUTTLE_H

// The classic elevators' shared rhythm: a car that arrives is sent to the
// tower's next floor, which then alternates between the first two floors of
// every shaft. One per tower; a saved game keeps it.
class Shuttle {
public:
    static constexpr int topFloor = 1;

    int nextGoal() const { return goal; }
    // False, and the goal unchanged, for a floor the shuttle never sends cars to.
    bool setNextGoal(int floor);
    // A car left for the goal: the next one goes the other way.
    void departed() { goal = goal == 0 ? topFloor : 0; }

private:
    int goal = topFloor;
};

#endif
