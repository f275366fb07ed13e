#ifndef ZENTROVA_SHAFTRECORDS_H
#define ZENTROVA_SHAFTRECORDS_H

#include <string>
#include <vector>

#include "GroupState.h"

// A shaft's running state as text: records of whitespace-separated
// integers, one a line, the first number naming the record.
//   0 clock parking cars boarded delivered waitTicks longestWait
//   1 car position direction activity ticksLeft goal riders {id origin destination calledAt}...
//   2 storey direction assignedCars count {id origin destination calledAt}...
// The shaft record first, then every car in order, then every hall where
// someone waits, by storey, up before down. Storeys and parking are -1 when
// there is none; assignedCars has a bit for each car, car 0 the lowest.
namespace shaftRecords {

std::vector<std::string> write(const sim::GroupState& group);

// Fills group, which holds the shaft's storeys, timing and cars in their
// starting state, from the records; false when one is malformed, out of
// order, or impossible for that shaft (a storey it does not serve, a car
// over capacity or outside its shaft, an id twice, a time to come).
bool read(const std::vector<std::string>& records, sim::GroupState& group);

}  // namespace shaftRecords

#endif
