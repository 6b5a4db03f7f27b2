#pragma once
// Two loggers of one paddy, one at the inlet and one in the field, set side by side hour by hour:
// extension practice judges flowing irrigation (掛け流し) by how far the field's water runs from
// the inlet's, not by one fixed alarm.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "season/model/calendar.h"
#include "season/model/season.h"

namespace pt::season {

// An hour both loggers have a sample of.
struct PairedHour {
  CivilHour hour;
  double inlet = 0.0, field = 0.0;
  double Difference() const { return field - inlet; }
};

// A day complete (24 samples) in both.
struct PairedDay {
  CivilDate date;
  double inletMean = 0.0, fieldMean = 0.0;  // as ComputeDaily makes them
  // The field's exact mean minus the inlet's, in tenths of a degree rounded half up (toward
  // +infinity on a tie: -0.05 is 0, 0.05 is 1).
  std::int64_t differenceTenths = 0;
  double Difference() const { return static_cast<double>(differenceTenths) / 10.0; }
};

struct SeasonPair {
  std::vector<PairedHour> hours;  // the hours both have, in order; none when they never overlap
  std::vector<PairedDay> days;    // the days complete in both, in order
};

// The two seasons aligned by date and hour: each may start at any hour.
SeasonPair PairSeasons(const Season& inlet, const Season& field);

// The mean of `fieldDay` minus the mean of `inletDay` (the same number of readings each), in
// tenths rounded half up, worked out without rounding error wherever the readings allow.
std::int64_t DifferenceTenths(const std::vector<double>& inletDay, const std::vector<double>& fieldDay);

// The days whose difference, as shown (rounded), is more than `margin` (in tenths: 20 for 2 °C)
// above or below zero: the field ran that much warmer or cooler than the inlet.
std::vector<PairedDay> DaysBeyond(const SeasonPair& pair, std::int64_t marginTenths);


}  // namespace pt::season
