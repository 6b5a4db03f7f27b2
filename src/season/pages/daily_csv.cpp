#include "season/pages/daily_csv.h"

#include <cstdio>

#include "season/pages/csv_text.h"

namespace pt::season {

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
