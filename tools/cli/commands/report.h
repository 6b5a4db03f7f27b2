#pragma once
// paddytherm-cli report FILE: the season's files made again without the logger, from the archive
// a download wrote (tavovalu.html byte for byte as the download wrote it, and the other outputs)
// or from a tavovalu.html (the other outputs only; the report itself is never rewritten). Only
// what is asked for is written: tavovalu.html with --html or --dir, never beside a CSV or a page.
#include "commands/command.h"
#include "commands/shared_options.h"

namespace cli {

struct ReportOptions {
  std::string input;  // an archive or a tavovalu.html
  SeasonFiles files;
  SeasonOutputs outputs;
  bool html = false;  // --html: tavovalu.html again, also asked for by --dir
};

class ReportCommand : public Command {
 public:
  void Register(CLI::App& app) override;
  bool Select(const CLI::App& given) override { return &given == sub_; }
  bool Check(std::string& error) override;
  int Run(const pt::TerminalText& text) override;

  ReportOptions options;

 private:
  CLI::App* sub_ = nullptr;
};

}  // namespace cli
