#pragma once
// What became of a job, as the exit status and an English line beside the core's own Japanese
// message.
#include <string>

#include "exit_status.h"
#include "logger/jobs.h"

namespace cli {

struct OutcomeReading {
  ExitStatus status;
  std::string english;  // "" for a success
};

// The `port` and `report` names go into the English text.
OutcomeReading ReadOutcome(const pt::JobOutcome& outcome, const std::string& port, const std::string& report);

}  // namespace cli
