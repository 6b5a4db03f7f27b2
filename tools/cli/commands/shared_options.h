#pragma once
// The option sets several commands share, each added to a subcommand that takes it: the serial
// line (--port, --baud), the files of a season (--start, --dir, --csv) and the season's figures
// (--daily, --season and how they are computed).
#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "logger/job_interface.h"
#include "season/model/calendar.h"
#include "season/model/daily.h"

namespace cli {

struct LineOptions {
  std::string port;  // device path, opened as it stands
  std::string baudText;
  unsigned baud = 9600;
};
void AddLineOptions(CLI::App& sub, LineOptions& line);
// --port given, --baud 9600 or 19200 (into `baud`).
bool CheckLineOptions(LineOptions& line, std::string& error);

struct SeasonFiles {
  std::string startText;
  std::optional<pt::StartMinute> start;  // --start YYYYMMDDhhmm, from startText
  std::string dir;                       // "" for the current directory
  std::string csv;
  CLI::Option* startOption = nullptr;
  CLI::Option* dirOption = nullptr;
  CLI::Option* csvOption = nullptr;
};
void AddSeasonFiles(CLI::App& sub, SeasonFiles& files);
bool CheckSeasonFiles(SeasonFiles& files, std::string& error);

#ifdef _WIN32
inline constexpr bool kCsvBomByDefault = true;
#else
inline constexpr bool kCsvBomByDefault = false;
#endif
// Whether --offset takes one C for the season, or a list with one C for each of several files.
enum class OffsetOption { One, PerFile };

struct SeasonOutputs {
  std::string daily;       // --daily FILE
  std::string seasonPage;  // --season FILE
  // The byte-order mark Japanese spreadsheets need: on by default where they are (Windows);
  // --csv-bom and --no-csv-bom choose.
  bool csvBom = kCsvBomByDefault;  // from the two flags below
  bool bomFlag = false, noBomFlag = false;
  std::string fromText;
  std::string baseText, coldText, hotText;
  pt::season::DailyOptions figures;  // --base (from baseText), --from (from fromText), --dry-excluded, --cold, --hot
  std::string milestonesText;
  std::optional<std::vector<double>> milestones;  // --milestones; none: the defaults of the base
  std::string headingText, transplantedText;
  // --transplanted and --heading: one pair, or for PerFile one for every FILE or one for each;
  // the first is in `figures.stages` too.
  std::vector<pt::season::StageDates> stages{pt::season::StageDates{}};
  std::string offsetText;
  std::vector<double> offsets{0.0};  // --offset C, or for PerFile C,C,... (from offsetText)
  OffsetOption offsetKind = OffsetOption::One;
};
void AddSeasonOutputs(CLI::App& sub, SeasonOutputs& outputs, OffsetOption offset = OffsetOption::One);
bool CheckSeasonOutputs(SeasonOutputs& outputs, std::string& error);
// --transplanted and --heading into `stages` (part of CheckSeasonOutputs).
bool CheckStageDates(SeasonOutputs& outputs, std::string& error);

// Digits, signs and a point only: what strtod alone would also take (" 2", "1e1", "0x2", "inf")
// is no temperature a user types.
bool PlainNumber(const std::string& text);

// "0.5,-0.25,1": numbers parted by commas, each whole; false for an empty item or a stray byte.
bool ParseNumberList(const std::string& text, std::vector<double>& out);

// "YYYY-MM-DD" naming a real date, into `date`; false (and `date` untouched) otherwise.
bool ParseIsoDate(const std::string& text, pt::season::CivilDate& date);

// YYYYMMDDhhmm naming a real minute from 2000 to 2099, or none.
std::optional<pt::StartMinute> ParseSpecialStart(const std::string& text);
// True when `text` is YYYYMMDDhhmm naming a real minute from 2000 to 2099.
bool IsValidSpecialStart(const std::string& text);
// The typed start as the first sample's hour.
std::optional<pt::season::CivilHour> StartHour(const std::optional<pt::StartMinute>& start);

}  // namespace cli
