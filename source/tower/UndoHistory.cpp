#include "UndoHistory.h"

void UndoHistory::push(Step step) {
    steps.push_back(std::move(step));
    while (steps.size() > depth) steps.pop_front();
}
