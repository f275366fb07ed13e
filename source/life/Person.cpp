#include "Person.h"

#include <cstddef>

namespace life {

void Person::walkAt(Tick now, int ticksPerCell, int& from, int& to, int& progress) const {
    from = to = cell;
    progress = 0;
    if (path.empty() || ticksPerCell <= 0 || now < walkStart) return;
    const Tick walked = now - walkStart;
    const Tick steps = walked / ticksPerCell;
    const std::size_t done = steps < static_cast<Tick>(path.size()) ? static_cast<std::size_t>(steps) : path.size();
    from = done == 0 ? cell : path[done - 1];
    if (done < path.size()) {
        to = path[done];
        progress = static_cast<int>(walked % ticksPerCell);
    } else {
        to = from;
    }
}

}  // namespace life
