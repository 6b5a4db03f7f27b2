#include "season/pages/daily_csv.h"

#include <cstdio>

#include "season/pages/csv_text.h"

namespace pt::season {

namespace {

void AppendFlag(std::string& out, const std::optional<bool>& flag) {
  out += ',';
  if (flag) out += *flag ? '1' : '0';
}

}  // namespace

void AppendDailyCsvRow(std::string& out, const DailyRow& r, double offsetC) {
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
  AppendFlag(out, r.Complete());
  AppendFlag(out, r.cold);
  AppendFlag(out, r.hot);
  out += ',';
  AppendOffset(out, offsetC);
  out += ',';
  out += StageKey(r.stage);
  out += '\n';
}

std::string FormatDailyCsv(const Season& season, const DailyOptions& options, bool byteOrderMark) {
  const std::vector<DailyRow> rows = ComputeDaily(season, options);
  std::string out = CsvStart(kDailyCsvHeader, byteOrderMark);
  out.reserve(out.size() + rows.size() * 64);
  for (const DailyRow& r : rows) AppendDailyCsvRow(out, r, season.offsetC);
  return out;
}

}  // namespace pt::season
