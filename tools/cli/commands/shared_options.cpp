#include "shared_options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "report/samples.h"
#include "season/pages/page_text.h"

namespace cli {

namespace {

bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(const std::string& s, std::size_t pos, std::size_t len) { return std::stoi(s.substr(pos, len)); }

// A calibration is a few tenths of a degree; two decimals are the most any page or CSV shows of it,
// so a finer one is refused rather than shown other than it was applied.
bool ParseOffsets(const std::string& text, std::vector<double>& out) {
  if (!ParseNumberList(text, out)) return false;
  for (const double v : out) {
    if (!(v >= -10.0 && v <= 10.0) || std::fabs(v * 100.0 - std::round(v * 100.0)) > 1e-6) return false;
  }
  return true;
}

// "2008-05-10" or, where `many`, "2008-05-10,2009-05-12": real dates parted by commas; none for
// an empty text.
bool ParseDates(const std::string& text, const char* name, bool many,
                std::vector<std::optional<pt::season::CivilDate>>& dates, std::string& error) {
  dates.assign(1, std::nullopt);
  if (text.empty()) return true;
  dates.clear();
  for (std::size_t pos = 0;;) {
    const std::size_t comma = text.find(',', pos);
    const std::string item = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    pt::season::CivilDate date;
    if (!ParseIsoDate(item, date) || (comma != std::string::npos && !many)) {
      error = std::string(name) + " must be YYYY-MM-DD, a real date" +
              (many ? ", one for all FILEs or one each, with commas," : "") + " not \"" + text + "\"";
      return false;
    }
    dates.push_back(date);
    if (comma == std::string::npos) return true;
    pos = comma + 1;
  }
}

}  // namespace

bool PlainNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("+-.0123456789") == std::string::npos;
}

bool CheckStageDates(SeasonOutputs& outputs, std::string& error) {
  const bool many = outputs.offsetKind == OffsetOption::PerFile;
  std::vector<std::optional<pt::season::CivilDate>> planted, headed;
  if (!ParseDates(outputs.transplantedText, "--transplanted", many, planted, error) ||
      !ParseDates(outputs.headingText, "--heading", many, headed, error)) {
    return false;
  }
  if (planted.size() != 1 && headed.size() != 1 && planted.size() != headed.size()) {
    error = "--transplanted gives " + std::to_string(planted.size()) + " dates and --heading " +
            std::to_string(headed.size()) + ": give one for all FILEs, or one for each";
    return false;
  }
  outputs.stages.clear();
  for (std::size_t i = 0; i < std::max(planted.size(), headed.size()); ++i) {
    const pt::season::StageDates dates{planted[planted.size() == 1 ? 0 : i], headed[headed.size() == 1 ? 0 : i]};
    // A field heads two to three months after transplanting; heading first is a mistyped date.
    if (dates.transplanted && dates.heading &&
        pt::season::DayNumber(*dates.heading) <= pt::season::DayNumber(*dates.transplanted)) {
      error = "--heading " + pt::season::DateText(*dates.heading) + " must come after --transplanted " +
              pt::season::DateText(*dates.transplanted);
      if (std::max(planted.size(), headed.size()) > 1) error += " (FILE " + std::to_string(i + 1) + ")";
      return false;
    }
    outputs.stages.push_back(dates);
  }
  outputs.figures.stages = outputs.stages.front();
  return true;
}

bool ParseNumberList(const std::string& text, std::vector<double>& out) {
  out.clear();
  std::size_t pos = 0;
  for (;;) {
    const std::size_t comma = text.find(',', pos);
    const std::string item = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    char* end = nullptr;
    const double v = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != '\0' || !PlainNumber(item)) return false;
    out.push_back(v);
    if (comma == std::string::npos) return true;
    pos = comma + 1;
  }
}

void AddLineOptions(CLI::App& sub, LineOptions& line) {
  sub.add_option("--port", line.port, "the serial device, e.g. /dev/ttyUSB0 (required)")->option_text("PATH");
  sub.add_option("--baud", line.baudText, "line speed (default 9600)")->option_text("9600|19200");
}

bool CheckLineOptions(LineOptions& line, std::string& error) {
  if (line.port.empty()) {
    error = "--port PATH is required";
    return false;
  }
  if (line.baudText.empty() || line.baudText == "9600") {
    line.baud = 9600;
  } else if (line.baudText == "19200") {
    line.baud = 19200;
  } else {
    error = "--baud must be 9600 or 19200, not \"" + line.baudText + "\"";
    return false;
  }
  return true;
}

void AddSeasonFiles(CLI::App& sub, SeasonFiles& files) {
  files.startOption = sub.add_option("--start", files.startText,
                 "date the report from this start instead of the logger's start record")
      ->option_text("YYYYMMDDhhmm");
  files.dirOption = sub.add_option("--dir", files.dir,
                                   "write tavovalu.html (and a download's archive, "
                                   "paddytherm-YYYYMMDD-hhmmss[-N].ptlog) into DIR, made with its parents "
                                   "when missing (default: here)")
                        ->option_text("DIR");
  files.csvOption = sub.add_option("--csv", files.csv, "also write the samples to FILE as UTF-8 CSV")->option_text("FILE");
}

bool CheckSeasonFiles(SeasonFiles& files, std::string& error) {
  files.start.reset();
  if (files.startOption->count() > 0) {
    files.start = ParseSpecialStart(files.startText);
    if (!files.start) {
      error = "--start must be YYYYMMDDhhmm, a real date and time from 2000 to 2099, not \"" + files.startText + "\"";
      return false;
    }
  }
  if (files.dirOption->count() > 0 && files.dir.empty()) {
    error = "--dir needs a directory";
    return false;
  }
  if (files.csvOption->count() > 0 && files.csv.empty()) {
    error = "--csv needs a file name";
    return false;
  }
  return true;
}

void AddSeasonOutputs(CLI::App& sub, SeasonOutputs& outputs, OffsetOption offset) {
  sub.add_option("--daily", outputs.daily,
                 "the daily figures as UTF-8 CSV: mean, max, min, hours, no-water hours, accumulated water "
                 "temperature, then complete, cold and hot day and the offset")
      ->option_text("FILE");
  sub.add_option("--season", outputs.seasonPage, "a page (HTML with plots) to print")->option_text("FILE");
  sub.add_flag("--csv-bom", outputs.bomFlag,
               std::string("begin the CSV files with the byte-order mark Excel needs") +
                   (kCsvBomByDefault ? " (the default here)" : ""));
  sub.add_flag("--no-csv-bom", outputs.noBomFlag,
               std::string("begin the CSV files without it") + (kCsvBomByDefault ? "" : " (the default here)"));
  sub.add_option("--base", outputs.baseText, "the base temperature taken off each day's mean in the sum (default 0)")
      ->option_text("C");
  sub.add_option("--from", outputs.fromText,
                 "the day the sum starts, e.g. transplanting (default: the first complete day)")
      ->option_text("YYYY-MM-DD");
  sub.add_flag("--dry-excluded", outputs.figures.dryExcluded,
               "leave the no-water hours out of the daily figures, the sum and the page's hourly line");
  sub.add_option("--cold", outputs.coldText,
                 "a cold day is a complete day whose mean is below C (default 17; it depends on stage and variety)")
      ->option_text("C");
  sub.add_option("--hot", outputs.hotText,
                 "a hot day is a day whose maximum reaches C (default 35; it depends on stage and variety)")
      ->option_text("C");
  sub.add_option("--milestones", outputs.milestonesText,
                 "up to 10 accumulated temperatures in C-days, rising, whose dates the page gives (default by --base: "
                 "500,1000,1500 over 0, 300,600,900 over 10)")
      ->option_text("LIST");
  const bool many = offset == OffsetOption::PerFile;
  sub.add_option("--transplanted", outputs.transplantedText,
                 many ? "the day each field was transplanted: one date for every FILE, or one for each in turn, with "
                        "commas; the week after it is the rooting stage"
                      : "the day the field was transplanted: the week after it is the rooting stage (活着期)")
      ->option_text(many ? "YYYY-MM-DD[,...]" : "YYYY-MM-DD");
  sub.add_option("--heading", outputs.headingText,
                 many ? "the day each field headed (出穂), as --transplanted: the stages from 30 days before it to "
                        "24 days after"
                      : "the day the field headed (出穂): panicle initiation, booting, heading and early ripening "
                        "are counted from it, and the page gives the water-temperature sum from it")
      ->option_text(many ? "YYYY-MM-DD[,...]" : "YYYY-MM-DD");
  outputs.offsetKind = offset;
  if (offset == OffsetOption::One) {
    sub.add_option("--offset", outputs.offsetText,
                   "a calibration correction: add C to every reading in the CSV files and the page "
                   "(tavovalu.html and the archive stay as the logger gave them; up to two decimals)")
        ->option_text("C");
  } else {
    sub.add_option("--offset", outputs.offsetText,
                   "a calibration correction added to every reading: one C for every FILE, or a list with one "
                   "C for each FILE in turn (up to two decimals each)")
        ->option_text("C[,C...]");
  }
}

namespace {

// A temperature option, read here rather than by the parser so that its refusal reads like every
// other option's; `fallback` when it was not given.
bool ReadDegrees(const std::string& text, const char* name, double low, double high, const char* example,
                 double fallback, double& value, std::string& error) {
  value = fallback;
  if (text.empty()) return true;
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || !PlainNumber(text) || !std::isfinite(v) || v < low || v > high) {
    char range[64];
    std::snprintf(range, sizeof range, "from %g to %g", low, high);
    error = std::string(name) + " must be a temperature in C " + range + ", e.g. " + example + ", not \"" + text + "\"";
    return false;
  }
  value = v;
  return true;
}

}  // namespace

bool CheckSeasonOutputs(SeasonOutputs& outputs, std::string& error) {
  outputs.figures.from.reset();
  if (outputs.bomFlag && outputs.noBomFlag) {
    error = "--csv-bom and --no-csv-bom ask for opposite things; give one of them";
    return false;
  }
  outputs.csvBom = outputs.bomFlag || (kCsvBomByDefault && !outputs.noBomFlag);
  const pt::season::DailyOptions defaults;
  if (!ReadDegrees(outputs.baseText, "--base", -50, 50, "10 or 8.5", 0.0, outputs.figures.base, error) ||
      !ReadDegrees(outputs.coldText, "--cold", 0, 50, "17 or 18.5", defaults.coldBelow, outputs.figures.coldBelow,
                   error) ||
      !ReadDegrees(outputs.hotText, "--hot", 0, 50, "35 or 33.5", defaults.hotFrom, outputs.figures.hotFrom, error)) {
    return false;
  }
  outputs.offsets = {0.0};
  if (!outputs.offsetText.empty() &&
      (!ParseOffsets(outputs.offsetText, outputs.offsets) ||
       (outputs.offsetKind == OffsetOption::One && outputs.offsets.size() != 1))) {
    error = "--offset must be degrees from -10 to 10 with at most two decimals, " +
            std::string(outputs.offsetKind == OffsetOption::One ? "" : "one for all FILEs or one each, with commas, ") +
            "not \"" + outputs.offsetText + "\"";
    return false;
  }
  outputs.milestones.reset();
  if (!outputs.milestonesText.empty()) {
    std::vector<double> goals;
    // Ten marks are more than a season holds apart; past that the chart's labels run together.
    bool rising = ParseNumberList(outputs.milestonesText, goals) && goals.size() <= 10;
    for (std::size_t i = 0; rising && i < goals.size(); ++i) {
      rising = goals[i] > 0 && goals[i] < 100000 && (i == 0 || goals[i] > goals[i - 1]);
    }
    if (!rising) {
      error = "--milestones must be up to 10 rising numbers above 0 and below 100000, with commas, e.g. "
              "500,1000,1500, not \"" + outputs.milestonesText + "\"";
      return false;
    }
    outputs.milestones = goals;
  }
  if (!CheckStageDates(outputs, error)) return false;
  if (outputs.fromText.empty()) return true;
  pt::season::CivilDate date;
  if (!ParseIsoDate(outputs.fromText, date)) {
    error = "--from must be YYYY-MM-DD, a real date, not \"" + outputs.fromText + "\"";
    return false;
  }
  outputs.figures.from = date;
  return true;
}

bool ParseIsoDate(const std::string& f, pt::season::CivilDate& date) {
  const bool shaped = f.size() == 10 && f[4] == '-' && f[7] == '-' && AllDigits(f.substr(0, 4)) &&
                      AllDigits(f.substr(5, 2)) && AllDigits(f.substr(8, 2));
  if (!shaped) return false;
  const pt::season::CivilDate d{Number(f, 0, 4), Number(f, 5, 2), Number(f, 8, 2)};
  if (!pt::season::IsRealDate(d)) return false;
  date = d;
  return true;
}

// The dialog's special start is held to the same rule, so both programs date a season alike.
std::optional<pt::StartMinute> ParseSpecialStart(const std::string& text) {
  if (text.size() != 12 || !pt::IsRealTimeText(text.c_str(), 12)) return std::nullopt;
  return pt::StartMinute{Number(text, 0, 4), Number(text, 4, 2), Number(text, 6, 2), Number(text, 8, 2),
                         Number(text, 10, 2)};
}

bool IsValidSpecialStart(const std::string& text) { return ParseSpecialStart(text).has_value(); }

std::optional<pt::season::CivilHour> StartHour(const std::optional<pt::StartMinute>& start) {
  if (!start) return std::nullopt;
  return pt::season::CivilHour{start->year, start->month, start->day, start->hour};
}

}  // namespace cli
