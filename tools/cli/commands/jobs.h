#pragma once
// The logger's single-command jobs: set-clock, write-memo and set-period, which change it, and
// read-clock, read-memo, check-memo, check-start and check-pointer, which read it.
#include <vector>

#include "commands/command.h"
#include "commands/shared_options.h"

namespace cli {

struct JobOptions {
  int request = 0;  // the JobRequest of the subcommand given
  LineOptions line;
  bool pcClock = false;   // set-clock --pc
  std::string clock;      // set-clock YYYYMMDDhhmmss (terminal encoding)
  std::string memo;       // write-memo TEXT (terminal encoding)
  bool debugPeriod = false;  // set-period --debug
};

class JobCommands : public Command {
 public:
  void Register(CLI::App& app) override;
  bool Select(const CLI::App& given) override;
  bool Check(std::string& error) override;
  int Run(const pt::TerminalText& text) override;

  JobOptions options;

 private:
  struct Sub {
    CLI::App* app;
    int request;
  };
  std::vector<Sub> subs_;
  CLI::App* selected_ = nullptr;
};

}  // namespace cli
