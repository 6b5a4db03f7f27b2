#pragma once
// The command line of paddytherm-cli.
#include <string>
#include <vector>

#include "season/model/daily.h"

namespace cli {

struct CliOptions {
  std::string command;   // one of the nine job names, or "" with help
  int jobRequest = 0;    // the job's JobRequest value
  std::string port;      // device path, opened as it stands
  unsigned baud = 9600;
  bool help = false;
  std::string version;   // with --version: "paddytherm-cli 1.0.0", the line to print

  bool pcClock = false;  // set-clock --pc
  std::string clock;     // set-clock YYYYMMDDhhmmss (terminal encoding)
  std::string memo;      // write-memo TEXT (terminal encoding)
  bool debugPeriod = false;

  std::string start;     // download, report: --start YYYYMMDDhhmm
  std::string dir;       // download, report: --dir DIR ("" for the current directory)
  std::string csv;       // download, report: --csv FILE
  bool noProgress = false;
  bool noArchive = false;  // download --no-archive

  std::string input;       // report FILE: an archive or a tavovalu.html
  std::string daily;       // --daily FILE
  std::string seasonPage;  // --season FILE
  bool csvBom = false;     // --csv-bom: the byte-order mark Japanese spreadsheets need
  double base = 0.0;       // --base C
  std::string from;        // --from YYYY-MM-DD
  bool dryExcluded = false;

  std::vector<std::string> inputs;  // compare FILE...
  bool byDay = false;               // compare --by day (by date otherwise)
  std::vector<double> milestones{500.0, 1000.0, 1500.0};  // compare --milestones
};

// The season figures' options (--base, --from, --dry-excluded) as the season library takes them.
// False with the reason when --from is not a real date.
bool SeasonFigureOptions(const CliOptions& opts, pt::season::DailyOptions& out, std::string& error);

// Fills `opts` from the arguments after the program name. False with a one-line reason in
// `error` on a usage error.
bool ParseCommandLine(int argc, const char* const* argv, CliOptions& opts, std::string& error);

// True when `text` is YYYYMMDDhhmm naming a real minute from 2000 to 2099.
bool IsValidSpecialStart(const std::string& text);

extern const char* const kUsageText;

}  // namespace cli
