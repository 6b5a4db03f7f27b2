#pragma once
// Daily figures of a season on the real calendar, and the accumulated water temperature
// (積算水温): the running sum of (day mean - base) over the complete days.
#include <optional>
#include <string>
#include <vector>

#include "report/samples.h"
#include "season/model/season.h"
#include "season/model/stages.h"

namespace pt::season {

struct DailyOptions {
  double base = 0.0;                // subtracted from each day's mean in the sum
  std::optional<CivilDate> from;    // the sum starts this day (transplanting); none: the first day
  bool dryExcluded = false;         // no-water hours left out of mean, max, min and so the sum
  // What rice suffers from; where it starts depends on the stage and the variety.
  double coldBelow = 17.0;  // a cold day: its mean is below this
  double hotFrom = 35.0;    // a hot day: its maximum reaches this
  StageDates stages{};      // transplanting and heading, for each day's stage
};

struct DailyRow {
  CivilDate date;
  int hours = 0;         // samples that day
  int noWaterHours = 0;  // of them, taken without water
  // Over the day's samples (the wet ones with dryExcluded); none when no sample is left.
  std::optional<double> mean, maximum, minimum;
  // The running sum, exact; none on a day that is not complete (24 samples) or has no mean, and
  // on days before `from`. Such days add nothing.
  std::optional<double> accumulated;
  // Cold and hot as judged from the day's figures: none where they cannot tell. An incomplete
  // day's mean is no day's mean, so it is never judged cold; its maximum can only have been
  // higher, so it is hot once a sample reached the mark, and otherwise unknown.
  std::optional<bool> cold, hot;
  Stage stage = Stage::None;
  bool Complete() const { return hours == kHoursPerDay; }
};

// One row per calendar day from the first sample's day to the last one's; none for no samples.
std::vector<DailyRow> ComputeDaily(const Season& season, const DailyOptions& options = {});

}  // namespace pt::season
