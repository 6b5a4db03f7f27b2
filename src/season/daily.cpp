#include "season/daily.h"

#include <cstdint>
#include <cstdio>

#include "report/samples.h"
#include "season/csv_text.h"

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
    values.clear();
    for (; hour < kHoursPerDay && i < season.samples.size(); ++hour, ++i) {
      const Sample& s = season.samples[i];
      ++row.hours;
      if (s.noWater) ++row.noWaterHours;
      if (!(options.dryExcluded && s.noWater)) values.push_back(s.temperature);
    }
    SetFigures(values, row);
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

void AppendDailyCsvRow(std::string& out, const DailyRow& r) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d,", r.date.year, r.date.month, r.date.day);
  out += text;
  AppendDecimalCell(out, r.mean);
  out += ',';
  AppendDecimalCell(out, r.maximum);
  out += ',';
  AppendDecimalCell(out, r.minimum);
  std::snprintf(text, sizeof text, ",%d,%d,", r.hours, r.noWaterHours);
  out += text;
  AppendDecimalCell(out, r.accumulated);
  out += '\n';
}

std::string FormatDailyCsv(const std::vector<DailyRow>& rows, bool byteOrderMark) {
  std::string out = CsvStart(kDailyCsvHeader, byteOrderMark);
  out.reserve(out.size() + rows.size() * 48);
  for (const DailyRow& r : rows) AppendDailyCsvRow(out, r);
  return out;
}

}  // namespace pt::season
