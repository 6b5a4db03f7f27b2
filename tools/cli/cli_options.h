#pragma once
// The command line of paddytherm-cli.
#include <string>

namespace cli {

struct CliOptions {
  std::string command;   // one of the nine job names, or "" with help
  int jobRequest = 0;    // the job's JobRequest value
  std::string port;      // device path, opened as it stands
  unsigned baud = 9600;
  bool help = false;

  bool pcClock = false;  // set-clock --pc
  std::string clock;     // set-clock YYYYMMDDhhmmss (terminal encoding)
  std::string memo;      // write-memo TEXT (terminal encoding)
  bool debugPeriod = false;

  std::string start;     // download --start YYYYMMDDhhmm
  std::string dir;       // download --dir DIR ("" for the current directory)
  std::string csv;       // download --csv FILE
  bool noProgress = false;
};

// Fills `opts` from the arguments after the program name. False with a one-line reason in
// `error` on a usage error.
bool ParseCommandLine(int argc, const char* const* argv, CliOptions& opts, std::string& error);

// True when `text` is YYYYMMDDhhmm naming a real minute from the year 2000 on.
bool IsValidSpecialStart(const std::string& text);

extern const char* const kUsageText;

}  // namespace cli
