#pragma once
// paddytherm-cli pair INLET FIELD: an inlet logger's season and a field logger's of one paddy,
// aligned by date and hour, as a daily CSV and a page.
#include <cstdint>
#include <string>

#include "commands/command.h"
#include "season/model/stages.h"

namespace cli {

struct PairOptions {
  std::string inlet, field;  // archives or tavovalu.html files
  std::string daily;         // --daily FILE
  std::string page;          // --season FILE
  std::string marginText;
  std::int64_t marginTenths = 20;  // --margin C, from marginText
  bool bomFlag = false, noBomFlag = false;
  bool csvBom = false;  // from the two flags, by the system's default
  std::string headingText, transplantedText;
  pt::season::StageDates stages;  // from the two texts
};

class PairCommand : public Command {
 public:
  void Register(CLI::App& app) override;
  bool Select(const CLI::App& given) override { return &given == sub_; }
  bool Check(std::string& error) override;
  int Run(const pt::TerminalText& text) override;

  PairOptions options;

 private:
  CLI::App* sub_ = nullptr;
};

}  // namespace cli
