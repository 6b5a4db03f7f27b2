#include "season/pages/compare_csv.h"

#include "season/pages/csv_text.h"
#include "season/pages/daily_csv.h"
#include "season/pages/page_text.h"

namespace pt::season {

namespace {

// A label is free text (a memo): quoted when it holds what would break the row, and a leading
// =, +, - or @ kept from being taken for a formula by a spreadsheet.
void AppendLabelCell(std::string& out, const std::string& label) {
  const bool formula = !label.empty() && (label[0] == '=' || label[0] == '+' || label[0] == '-' || label[0] == '@');
  if (label.find_first_of(",\"\n\r") == std::string::npos && !formula) {
    out += label;
    return;
  }
  out += '"';
  if (formula) out += '\'';
  for (char c : label) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string FormatCompareDailyCsv(const std::vector<ComparedSeason>& seasons, const DailyOptions& options,
                                  bool byteOrderMark) {
  std::string out = CsvStart(kCompareCsvHeader, byteOrderMark);
  for (const ComparedSeason& s : seasons) {
    const std::string start = DateText(s.season.start.Date());
    DailyOptions own = options;
    own.stages = s.stages;
    for (const DailyRow& row : ComputeDaily(s.season, own)) {
      AppendLabelCell(out, s.label);
      out += ',';
      out += start;
      out += ',';
      AppendDailyCsvRow(out, row, s.season.offsetC);
    }
  }
  return out;
}

}  // namespace pt::season
