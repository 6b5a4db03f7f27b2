#include "season/pages/sample_csv.h"

#include <cstdio>

#include "report/decimal_text.h"
#include "season/pages/csv_text.h"

namespace pt::season {

namespace {

void AppendSampleRow(std::string& out, const CivilHour& at, double temperature, bool noWater,
                     const std::string& offset) {
  char number[pt::kDecimalTextSize];
  char line[pt::kDecimalTextSize + 64];
  pt::FormatOneDecimal(temperature, number, sizeof number);
  const int n = std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:00,%s,%d,", at.year, at.month, at.day,
                              at.hour, number, noWater ? 1 : 0);
  if (n > 0) out.append(line, static_cast<std::size_t>(n) < sizeof line ? n : sizeof line - 1);
  out += offset;
}

}  // namespace

std::string FormatSampleCsv(const Season& season, bool byteOrderMark) {
  std::string out = CsvStart(kSampleCsvHeader, byteOrderMark);
  std::string offset;
  AppendOffset(offset, season.offsetC);
  offset += '\n';
  for (std::size_t i = 0; i < season.samples.size(); ++i) {
    const Sample& s = season.samples[i];
    AppendSampleRow(out, SampleHour(season, i), s.temperature, s.noWater, offset);
  }
  return out;
}

}  // namespace pt::season
