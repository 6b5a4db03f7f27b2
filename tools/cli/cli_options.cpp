#include "cli_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "civil_calendar.h"
#include "logger/jobs.h"
#include "report/samples.h"
#include "version.h"

namespace cli {

const char* const kUsageText =
    "Usage: paddytherm-cli COMMAND --port PATH [options]\n"
    "\n"
    "Runs one job against the paddy water-temperature logger on the serial line PATH.\n"
    "\n"
    "Commands:\n"
    "  download            read memo, start record, pointer and every sample, then the\n"
    "                      logger's clock; write tavovalu.html and a raw archive of the\n"
    "                      readout (and the outputs below that are asked for)\n"
    "  set-clock --pc      set the logger's clock from this computer's local time (after\n"
    "                      telling how far it was off)\n"
    "  set-clock YYYYMMDDhhmmss\n"
    "                      set the logger's clock to the given time (14 digits)\n"
    "  write-memo TEXT     write the memo (cut or padded with spaces to 16 bytes)\n"
    "  set-period [--debug]\n"
    "                      choose the regular measurement period, or the debugging one\n"
    "  read-clock          print the logger's clock\n"
    "  read-memo           print the memo\n"
    "  check-memo          print the memo (as the download half of the dialog reads it)\n"
    "  check-start         print the start record\n"
    "  check-pointer       print the number of stored samples\n"
    "  report FILE         rebuild from FILE without the logger: FILE an archive written by\n"
    "                      download (tavovalu.html again, byte for byte, and the outputs\n"
    "                      below) or a tavovalu.html (the outputs below only)\n"
    "  compare FILE...     several seasons (archives or tavovalu.html files) side by side:\n"
    "                      --season a page with their daily means and accumulated water\n"
    "                      temperature overlaid, --daily all their daily figures in one CSV\n"
    "\n"
    "Options:\n"
    "  --port PATH         the serial device, e.g. /dev/ttyUSB0 (required, but by report\n"
    "                      and compare)\n"
    "  --baud 9600|19200   line speed (default 9600)\n"
    "  --start YYYYMMDDhhmm\n"
    "                      download, report: date the report from this start instead of\n"
    "                      the logger's start record\n"
    "  --dir DIR           download, report: write tavovalu.html (and the download's\n"
    "                      archive, paddytherm-YYYYMMDD-hhmmss[-N].ptlog) into DIR (default:\n"
    "                      here)\n"
    "  --csv FILE          download, report: also write the samples to FILE as UTF-8 CSV\n"
    "  --daily FILE        download, report, compare: the daily figures as UTF-8 CSV: mean,\n"
    "                      max, min, hours, no-water hours, accumulated water temperature\n"
    "  --season FILE       download, report, compare: a page (HTML with plots) to print\n"
    "  --csv-bom           begin the CSV files with the byte-order mark Excel needs\n"
    "  --base C            the base temperature taken off each day's mean in the sum\n"
    "                      (default 0)\n"
    "  --from YYYY-MM-DD   the day the sum starts, e.g. transplanting (default: the first\n"
    "                      complete day)\n"
    "  --dry-excluded      leave the no-water hours out of the daily figures and the sum\n"
    "                      (--csv-bom, --base, --from, --dry-excluded: download, report, compare)\n"
    "  --by date|day       compare: line the seasons up by month and day (default), or by\n"
    "                      day of season (from --from, or the first complete day)\n"
    "  --milestones LIST   compare: the sums whose dates are tabled (default 500,1000,1500)\n"
    "  --no-archive        download: write no archive\n"
    "  --no-progress       download: no progress display\n"
    "  --help              this text\n"
    "  --version           the program's name and version\n"
    "\n"
    "Replies go to standard output, messages to standard error.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  an unexpected failure\n"
    "  2  bad input: usage, a clock that is no real time, a bad --start,\n"
    "     a memo that cannot be written in Shift-JIS or holds a control character,\n"
    "     an output that is an input or another output, an input of report or\n"
    "     compare that is no regular file or larger than a season (8 MB, archive 4 MB)\n"
    "  3  port: PATH could not be opened or configured, or a command could not be sent\n"
    "  4  no reply: the logger did not answer, even after one resend\n"
    "  5  refused: the logger answered, but did not accept the command\n"
    "  6  file: the report or the CSV could not be written, or no file can be made\n"
    "     where they go\n"
    "  7  data: the logger's start record or sample count cannot be used for a report\n";

namespace {

struct CommandRow {
  const char* name;
  int request;
};

constexpr CommandRow kCommands[] = {
    {"download", pt::DownloadJob},         {"set-clock", pt::SetClockJob},
    {"write-memo", pt::WriteMemoJob},      {"set-period", pt::SetPeriodJob},
    {"read-clock", pt::ReadClockJob},      {"read-memo", pt::ReadMemoJob},
    {"check-memo", pt::CheckMemoJob},      {"check-start", pt::CheckStartJob},
    {"check-pointer", pt::CheckPointerJob},
};

bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(const std::string& s, std::size_t pos, std::size_t len) {
  return std::stoi(s.substr(pos, len));
}

// What an option given without its value needs. CLI11 names the option first in its message
// ("--port: 1 required TEXT missing").
std::string MissingValue(const std::string& message) {
  const std::size_t colon = message.find(':');
  const std::string option = colon == std::string::npos ? message : message.substr(0, colon);
  if (option == "--dir") return "--dir needs a directory";
  if (option == "--csv") return "--csv needs a file name";
  return option + " needs a value";
}

// The parser: options may stand before or after the command; each command's own options are
// checked after parsing, so that a misplaced one is named with the command it belongs to.
struct Parser {
  CLI::App app{"", "paddytherm-cli"};
  std::string baud;
  CLI::Option* start = nullptr;
  CLI::Option* dir = nullptr;
  CLI::Option* csv = nullptr;
  CLI::Option* noProgress = nullptr;
  CLI::Option* noArchive = nullptr;
  std::vector<CLI::Option*> seasonOutputs;  // --daily, --season and their options
  std::string by, milestones;
  CLI::Option* byOption = nullptr;
  CLI::Option* milestonesOption = nullptr;

  explicit Parser(CliOptions& opts) {
    app.set_help_flag("--help,-h");
    // Taken before the command is looked for, so that it needs none.
    app.set_version_flag("--version", "paddytherm-cli " PT_VERSION_TEXT);
    app.allow_extras();
    app.add_option("--port", opts.port);
    app.add_option("--baud", baud);
    start = app.add_option("--start", opts.start);
    dir = app.add_option("--dir", opts.dir);
    csv = app.add_option("--csv", opts.csv);
    noProgress = app.add_flag("--no-progress", opts.noProgress);
    noArchive = app.add_flag("--no-archive", opts.noArchive);
    seasonOutputs = {app.add_option("--daily", opts.daily),     app.add_option("--season", opts.seasonPage),
                     app.add_flag("--csv-bom", opts.csvBom),    app.add_option("--base", opts.base),
                     app.add_option("--from", opts.from),       app.add_flag("--dry-excluded", opts.dryExcluded)};
    app.add_flag("--pc", opts.pcClock);
    app.add_flag("--debug", opts.debugPeriod);
    for (const CommandRow& row : kCommands) {
      CLI::App* sub = app.add_subcommand(row.name);
      sub->fallthrough();
      sub->set_help_flag();
      if (row.request == pt::SetClockJob) sub->add_option("time", opts.clock);
      if (row.request == pt::WriteMemoJob) sub->add_option("text", opts.memo);
    }
    CLI::App* report = app.add_subcommand("report");
    report->fallthrough();
    report->set_help_flag();
    report->add_option("file", opts.input);
    CLI::App* compare = app.add_subcommand("compare");
    compare->fallthrough();
    compare->set_help_flag();
    compare->add_option("files", opts.inputs);
    byOption = app.add_option("--by", by);
    milestonesOption = app.add_option("--milestones", milestones);
  }
};

// Everything CLI11 could not place: the unknown command, a stray argument, an unknown option.
bool CheckLeftOvers(const Parser& p, const CliOptions& opts, std::string& error) {
  const std::vector<std::string> left = p.app.remaining();
  if (left.empty()) return true;
  const std::string& first = left.front();
  if (first.size() > 1 && first[0] == '-') {
    error = "unknown option " + first;
  } else if (opts.command.empty()) {
    error = "unknown command " + first;
  } else {
    error = "unexpected argument " + first;
  }
  return false;
}

// "500,1000,1500": positive numbers, rising.
bool ParseMilestones(const std::string& text, std::vector<double>& out) {
  out.clear();
  std::size_t pos = 0;
  for (;;) {
    const std::size_t comma = text.find(',', pos);
    const std::string item = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    char* end = nullptr;
    const double v = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != '\0' || !(v > 0 && v < 1e6) || (!out.empty() && v <= out.back())) return false;
    out.push_back(v);
    if (comma == std::string::npos) return true;
    pos = comma + 1;
  }
}

bool CheckCompareOptions(const Parser& p, CliOptions& opts, std::string& error) {
  if (p.start->count() + p.dir->count() + p.csv->count() > 0) {
    error = "--start, --dir and --csv belong to download and report, not compare";
    return false;
  }
  if (opts.inputs.empty()) {
    error = "compare needs the FILEs to compare (archives or tavovalu.html files)";
    return false;
  }
  if (opts.seasonPage.empty() && opts.daily.empty()) {
    error = "compare needs --season OUT.html, --daily OUT.csv or both";
    return false;
  }
  if (p.byOption->count() > 0) {
    if (p.by != "date" && p.by != "day") {
      error = "--by must be date or day, not \"" + p.by + "\"";
      return false;
    }
    opts.byDay = p.by == "day";
  }
  if (p.milestonesOption->count() > 0 && !ParseMilestones(p.milestones, opts.milestones)) {
    error = "--milestones must be rising positive numbers with commas, e.g. 500,1000,1500, not \"" + p.milestones + "\"";
    return false;
  }
  pt::season::DailyOptions figures;
  return SeasonFigureOptions(opts, figures, error);
}

// The options and arguments that belong to one command only.
bool CheckCommandOptions(const Parser& p, CliOptions& opts, std::string& error) {
  if (p.byOption->count() + p.milestonesOption->count() > 0 && opts.command != "compare") {
    error = "--by and --milestones belong to compare";
    return false;
  }
  const bool download = opts.jobRequest == pt::DownloadJob;
  const bool report = opts.command == "report";
  const bool compare = opts.command == "compare";
  std::size_t seasonOptions = p.start->count() + p.dir->count() + p.csv->count();
  for (const CLI::Option* o : p.seasonOutputs) seasonOptions += o->count();
  if (!download && !report && !compare && seasonOptions > 0) {
    error = "--start, --dir, --csv, --daily, --season and their options belong to download and report";
    return false;
  }
  if (!download && p.noProgress->count() + p.noArchive->count() > 0) {
    error = "--no-progress and --no-archive belong to download";
    return false;
  }
  if (report && opts.input.empty()) {
    error = "report needs the FILE to rebuild from (an archive or a tavovalu.html)";
    return false;
  }
  if (opts.pcClock && opts.jobRequest != pt::SetClockJob) {
    error = "--pc belongs to set-clock";
    return false;
  }
  if (opts.debugPeriod && opts.jobRequest != pt::SetPeriodJob) {
    error = "--debug belongs to set-period";
    return false;
  }
  if (p.start->count() > 0 && !IsValidSpecialStart(opts.start)) {
    error = "--start must be YYYYMMDDhhmm, a real date and time from 2000 to 2099, not \"" + opts.start + "\"";
    return false;
  }
  if (p.dir->count() > 0 && opts.dir.empty()) {
    error = "--dir needs a directory";
    return false;
  }
  if (p.csv->count() > 0 && opts.csv.empty()) {
    error = "--csv needs a file name";
    return false;
  }
  pt::season::DailyOptions figures;
  if (!SeasonFigureOptions(opts, figures, error)) return false;
  if (report || compare) return true;
  const CLI::App* sub = p.app.get_subcommand(opts.command);
  if (opts.jobRequest == pt::SetClockJob && opts.pcClock == (sub->get_option("time")->count() > 0)) {
    error = "set-clock needs either --pc or a time YYYYMMDDhhmmss";
    return false;
  }
  if (opts.jobRequest == pt::WriteMemoJob && sub->get_option("text")->count() == 0) {
    error = "write-memo needs the memo TEXT (\"\" for a blank memo)";
    return false;
  }
  return true;
}

}  // namespace

bool SeasonFigureOptions(const CliOptions& opts, pt::season::DailyOptions& out, std::string& error) {
  out = pt::season::DailyOptions{};
  out.base = opts.base;
  out.dryExcluded = opts.dryExcluded;
  if (opts.from.empty()) return true;
  const std::string& f = opts.from;
  const bool shaped = f.size() == 10 && f[4] == '-' && f[7] == '-' && AllDigits(f.substr(0, 4)) &&
                      AllDigits(f.substr(5, 2)) && AllDigits(f.substr(8, 2));
  const pt::season::CivilDate date{shaped ? Number(f, 0, 4) : 0, shaped ? Number(f, 5, 2) : 0,
                                   shaped ? Number(f, 8, 2) : 0};
  if (!shaped || !pt::season::IsRealDate(date)) {
    error = "--from must be YYYY-MM-DD, a real date, not \"" + f + "\"";
    return false;
  }
  out.from = date;
  return true;
}

// The dialog's special start is held to the same rule, so both programs date a season alike.
bool IsValidSpecialStart(const std::string& text) {
  return text.size() == 12 && pt::IsRealTimeText(text.c_str(), 12);
}

bool ParseCommandLine(int argc, const char* const* argv, CliOptions& opts, std::string& error) {
  Parser p(opts);
  // CLI11 takes the arguments last first.
  std::vector<std::string> args(argv, argv + argc);
  std::reverse(args.begin(), args.end());
  try {
    p.app.parse(args);
  } catch (const CLI::CallForHelp&) {
    opts.help = true;
    return true;
  } catch (const CLI::CallForVersion& e) {
    opts.version = e.what();
    return true;
  } catch (const CLI::ArgumentMismatch& e) {
    error = MissingValue(e.what());
    return false;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
  if (opts.help) return true;
  for (const CommandRow& row : kCommands) {
    if (p.app.got_subcommand(row.name)) {
      opts.command = row.name;
      opts.jobRequest = row.request;
    }
  }
  if (p.app.got_subcommand("report")) opts.command = "report";
  if (p.app.got_subcommand("compare")) opts.command = "compare";
  if (!CheckLeftOvers(p, opts, error)) return false;
  if (opts.command.empty()) {
    error = "no command given";
    return false;
  }
  if (opts.command == "report" || opts.command == "compare") {
    if (!opts.port.empty()) {
      error = opts.command + " reads files, not the logger: no --port";
      return false;
    }
    if (opts.command == "compare") {
      return CheckCommandOptions(p, opts, error) && CheckCompareOptions(p, opts, error);
    }
    return CheckCommandOptions(p, opts, error);
  }
  if (opts.port.empty()) {
    error = "--port PATH is required";
    return false;
  }
  if (p.baud.empty() || p.baud == "9600") {
    opts.baud = 9600;
  } else if (p.baud == "19200") {
    opts.baud = 19200;
  } else {
    error = "--baud must be 9600 or 19200, not " + p.baud;
    return false;
  }
  return CheckCommandOptions(p, opts, error);
}

}  // namespace cli
