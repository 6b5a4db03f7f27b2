#include "season/pages/pair_csv.h"

#include <cstdio>
#include <cstdlib>

#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"

namespace pt::season {

std::string TenthsText(std::int64_t tenths) {
  const long long magnitude = std::llabs(static_cast<long long>(tenths));
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%lld", tenths < 0 ? "-" : "", magnitude / 10, magnitude % 10);
  return text;
}

std::string FormatPairDailyCsv(const SeasonPair& pair, bool byteOrderMark) {
  std::string out = CsvStart(kPairCsvHeader, byteOrderMark);
  for (const PairedDay& d : pair.days) {
    out += DateText(d.date);
    out += ',';
    AppendDecimalCell(out, d.inletMean);
    out += ',';
    AppendDecimalCell(out, d.fieldMean);
    out += ',';
    out += TenthsText(d.differenceTenths);
    out += '\n';
  }
  return out;
}

}  // namespace pt::season
