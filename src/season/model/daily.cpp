#include "season/model/daily.h"

#include <cstdint>

#include "report/samples.h"

namespace pt::season {

namespace {

// The day's figures as the report computes its summary cells, from the same values in the same
// order, so that a full day agrees with the report's row.
void SetFigures(const std::vector<double>& values, DailyRow& row) {
  if (values.empty()) return;
  const DayStats stats = ComputeDayStats(values.data(), static_cast<int>(values.size()));
  row.mean = stats.mean;
  row.maximum = stats.maximum;
  row.minimum = stats.minimum;
}

}  // namespace

std::vector<DailyRow> ComputeDaily(const Season& season, const DailyOptions& options) {
  std::vector<DailyRow> rows;
  if (season.samples.empty()) return rows;
  const std::int64_t fromDay = options.from ? DayNumber(*options.from) : INT64_MIN;
  std::int64_t day = DayNumber(season.start.Date());
  std::size_t i = 0;
  int hour = season.start.hour;
  double sum = 0.0;
  std::vector<double> values;
  values.reserve(kHoursPerDay);
  while (i < season.samples.size()) {
    DailyRow row;
    row.date = DateOfDayNumber(day);
    row.stage = StageOf(row.date, options.stages);
    values.clear();
    for (; hour < kHoursPerDay && i < season.samples.size(); ++hour, ++i) {
      const Sample& s = season.samples[i];
      ++row.hours;
      if (s.noWater) ++row.noWaterHours;
      if (!(options.dryExcluded && s.noWater)) values.push_back(s.temperature);
    }
    SetFigures(values, row);
    if (row.Complete() && row.mean) row.cold = *row.mean < options.coldBelow;
    if (row.maximum && (row.Complete() || *row.maximum >= options.hotFrom)) row.hot = *row.maximum >= options.hotFrom;
    if (row.hours == kHoursPerDay && row.mean && day >= fromDay) {
      sum += *row.mean - options.base;
      row.accumulated = sum;
    }
    rows.push_back(row);
    hour = 0;
    ++day;
  }
  return rows;
}

}  // namespace pt::season
