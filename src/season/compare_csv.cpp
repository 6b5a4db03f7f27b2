#include "season/compare.h"

#include "season/csv_text.h"

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

std::vector<std::optional<CivilDate>> MilestoneDates(const std::vector<DailyRow>& days,
                                                     const std::vector<double>& milestones) {
  std::vector<std::optional<CivilDate>> dates(milestones.size());
  for (std::size_t m = 0; m < milestones.size(); ++m) {
    for (const DailyRow& d : days) {
      if (d.accumulated && *d.accumulated >= milestones[m]) {
        dates[m] = d.date;
        break;
      }
    }
  }
  return dates;
}

std::optional<CivilDate> SeasonDayZero(const std::vector<DailyRow>& days, const DailyOptions& options) {
  if (options.from) return options.from;
  for (const DailyRow& d : days) {
    if (d.hours == 24) return d.date;
  }
  if (!days.empty()) return days.front().date;
  return std::nullopt;
}

std::string FormatCompareDailyCsv(const std::vector<ComparedSeason>& seasons, const DailyOptions& options,
                                  bool byteOrderMark) {
  std::string out = CsvStart(kCompareCsvHeader, byteOrderMark);
  for (const ComparedSeason& s : seasons) {
    for (const DailyRow& row : ComputeDaily(s.season, options)) {
      AppendLabelCell(out, s.label);
      out += ',';
      AppendDailyCsvRow(out, row);
    }
  }
  return out;
}

}  // namespace pt::season
