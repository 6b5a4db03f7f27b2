#pragma once
// paddytherm-cli compare FILE...: several seasons (archives or tavovalu.html files) on one page
// and in one daily CSV, without the logger.
#include <string>
#include <vector>

#include "commands/command.h"
#include "commands/shared_options.h"

namespace cli {

struct CompareInput {
  std::string path;
  std::string label;  // given by hand; empty for the season's own
};

struct CompareOptions {
  std::vector<std::string> inputTexts;  // FILE or FILE=LABEL
  std::vector<CompareInput> inputs;     // from inputTexts
  SeasonOutputs outputs;
  std::string byText;
  bool byDay = false;  // --by day (by date otherwise)
};

class CompareCommand : public Command {
 public:
  void Register(CLI::App& app) override;
  bool Select(const CLI::App& given) override { return &given == sub_; }
  bool Check(std::string& error) override;
  int Run(const pt::TerminalText& text) override;

  CompareOptions options;

 private:
  CLI::App* sub_ = nullptr;
  CLI::Option* by_ = nullptr;
};

}  // namespace cli
