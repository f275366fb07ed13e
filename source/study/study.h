#ifndef ZENTROVA_STUDY_H
#define ZENTROVA_STUDY_H

#include <cstdio>
#include <string>
#include <vector>

// The headless elevator study: runs the mode the arguments ask for and
// writes one JSON object, on one line, to out, the arguments echoed first.
//   --textbook  round_trip_s, stops, highest_reversal, interval_s and
//               handling_capacity_5min averaged over the trips, each beside
//               its formula_ twin, and tick_s, the tick the run used.
//   traffic     generated, delivered; awt_s, the average wait from the call
//               to getting in over everyone who called, those still waiting
//               at the end counted up to the end; max_wait_s; p_wait_over_60s,
//               the share who waited (or wait) longer; mean_journey_s, from
//               the call to getting out, over those delivered. Seconds are
//               ticks of the game's cars, 0.3 s each.
//   --day       ticks, generated, delivered and processor_s, the processor
//               time the shafts and their traffic took.
// Bad arguments: the reason and a usage line to err, and 2.
namespace study {

int run(const std::vector<std::string>& arguments, FILE* out, FILE* err);

}  // namespace study

#endif
