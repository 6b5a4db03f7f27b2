#include "cli_options.h"

#include <cstring>
#include <vector>

#include "civil_calendar.h"
#include "logger/jobs.h"

namespace cli {

const char* const kUsageText =
    "Usage: paddytherm-cli COMMAND --port PATH [options]\n"
    "\n"
    "Runs one job against the paddy water-temperature logger on the serial line PATH.\n"
    "\n"
    "Commands:\n"
    "  download            read memo, start record, pointer and every sample; write\n"
    "                      tavovalu.html (and, with --csv, a CSV of the samples)\n"
    "  set-clock --pc      set the logger's clock from this computer's local time\n"
    "  set-clock YYYYMMDDhhmmss\n"
    "                      set the logger's clock to the given time (14 characters)\n"
    "  write-memo TEXT     write the memo (cut or padded with spaces to 16 bytes)\n"
    "  set-period [--debug]\n"
    "                      choose the regular measurement period, or the debugging one\n"
    "  read-clock          print the logger's clock\n"
    "  read-memo           print the memo\n"
    "  check-memo          print the memo (as the download half of the dialog reads it)\n"
    "  check-start         print the start record\n"
    "  check-pointer       print the number of stored samples\n"
    "\n"
    "Options:\n"
    "  --port PATH         the serial device, e.g. /dev/ttyUSB0 (required)\n"
    "  --baud 9600|19200   line speed (default 9600)\n"
    "  --start YYYYMMDDhhmm\n"
    "                      download: date the report from this start instead of the\n"
    "                      logger's start record\n"
    "  --dir DIR           download: write tavovalu.html into DIR (default: here)\n"
    "  --csv FILE          download: also write the samples to FILE as UTF-8 CSV\n"
    "  --no-progress       download: no progress display\n"
    "  --help              this text\n"
    "\n"
    "Replies go to standard output, messages to standard error.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  an unexpected failure\n"
    "  2  bad input: usage, a clock text that is not 14 characters, a bad --start,\n"
    "     a memo that cannot be written in Shift-JIS or holds a control character,\n"
    "     a --csv that is the report itself\n"
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

// "--name=value" or "--name value"; false with the reason when the value is missing.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
               std::string& value, std::string& error) {
  const std::string& arg = args[i];
  if (arg.size() > name.size() && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return true;
  }
  if (i + 1 >= args.size()) {
    error = name + " needs a value";
    return false;
  }
  value = args[++i];
  return true;
}

bool Matches(const std::string& arg, const char* name) {
  const std::size_t n = std::strlen(name);
  return arg.compare(0, n, name) == 0 && (arg.size() == n || arg[n] == '=');
}

}  // namespace

bool IsValidSpecialStart(const std::string& text) {
  if (text.size() != 12 || !AllDigits(text)) return false;
  const CivilHour h{Number(text, 0, 4), Number(text, 4, 2), Number(text, 6, 2), Number(text, 8, 2)};
  return h.year >= 2000 && IsRealHour(h) && Number(text, 10, 2) <= 59;
}

bool ParseCommandLine(int argc, const char* const* argv, CliOptions& opts, std::string& error) {
  const std::vector<std::string> args(argv, argv + argc);
  std::vector<std::string> positional;
  bool sawStart = false, sawDir = false, sawCsv = false, sawNoProgress = false;
  bool optionsEnded = false;
  std::string baud;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      opts.help = true;
    } else if (Matches(arg, "--port")) {
      if (!TakeValue(args, i, "--port", opts.port, error)) return false;
    } else if (Matches(arg, "--baud")) {
      if (!TakeValue(args, i, "--baud", baud, error)) return false;
    } else if (Matches(arg, "--start")) {
      if (!TakeValue(args, i, "--start", opts.start, error)) return false;
      sawStart = true;
    } else if (Matches(arg, "--dir")) {
      if (!TakeValue(args, i, "--dir", opts.dir, error)) return false;
      sawDir = true;
    } else if (Matches(arg, "--csv")) {
      if (!TakeValue(args, i, "--csv", opts.csv, error)) return false;
      sawCsv = true;
    } else if (arg == "--no-progress") {
      opts.noProgress = sawNoProgress = true;
    } else if (arg == "--pc") {
      opts.pcClock = true;
    } else if (arg == "--debug") {
      opts.debugPeriod = true;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (opts.help) return true;

  if (positional.empty()) {
    error = "no command given";
    return false;
  }
  opts.command = positional[0];
  positional.erase(positional.begin());
  for (const CommandRow& row : kCommands) {
    if (opts.command == row.name) opts.jobRequest = row.request;
  }
  if (opts.jobRequest == 0) {
    error = "unknown command " + opts.command;
    return false;
  }

  if (opts.port.empty()) {
    error = "--port PATH is required";
    return false;
  }
  if (baud.empty() || baud == "9600") {
    opts.baud = 9600;
  } else if (baud == "19200") {
    opts.baud = 19200;
  } else {
    error = "--baud must be 9600 or 19200, not " + baud;
    return false;
  }

  const bool download = opts.jobRequest == pt::DownloadJob;
  if (!download && (sawStart || sawDir || sawCsv || sawNoProgress)) {
    error = "--start, --dir, --csv and --no-progress belong to download";
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
  if (sawStart && !IsValidSpecialStart(opts.start)) {
    error = "--start must be YYYYMMDDhhmm, a real date and time from 2000 on, not \"" + opts.start + "\"";
    return false;
  }
  if (sawDir && opts.dir.empty()) {
    error = "--dir needs a directory";
    return false;
  }
  if (sawCsv && opts.csv.empty()) {
    error = "--csv needs a file name";
    return false;
  }

  std::size_t wanted = 0;
  if (opts.jobRequest == pt::SetClockJob) {
    if (opts.pcClock != positional.empty()) {
      error = "set-clock needs either --pc or a time YYYYMMDDhhmmss";
      return false;
    }
    if (!opts.pcClock) opts.clock = positional[0];
    wanted = opts.pcClock ? 0 : 1;
  } else if (opts.jobRequest == pt::WriteMemoJob) {
    if (positional.empty()) {
      error = "write-memo needs the memo TEXT (\"\" for a blank memo)";
      return false;
    }
    opts.memo = positional[0];
    wanted = 1;
  }
  if (positional.size() > wanted) {
    error = "unexpected argument " + positional[wanted];
    return false;
  }
  return true;
}

}  // namespace cli
