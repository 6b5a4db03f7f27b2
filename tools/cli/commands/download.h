#pragma once
// paddytherm-cli download: memo, start record, pointer and every sample, then the logger's clock;
// tavovalu.html, the raw archive of the readout, and the outputs asked for.
#include "commands/command.h"
#include "commands/shared_options.h"

namespace cli {

struct DownloadOptions {
  LineOptions line;
  SeasonFiles files;
  SeasonOutputs outputs;
  bool noProgress = false;
  bool noArchive = false;
};

class DownloadCommand : public Command {
 public:
  void Register(CLI::App& app) override;
  bool Select(const CLI::App& given) override { return &given == sub_; }
  bool Check(std::string& error) override;
  int Run(const pt::TerminalText& text) override;

  DownloadOptions options;

 private:
  CLI::App* sub_ = nullptr;
};

}  // namespace cli
