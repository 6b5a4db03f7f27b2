#pragma once
// What a message of the core means for the exit status, and how to say it in English beside the
// system's own Japanese text.
#include <string>

#include "exit_status.h"

namespace cli {

struct FailureReading {
  ExitStatus status;
  std::string english;  // "" when the message is not one the console knows
};

// `text` is the message as the core shows it (Shift-JIS); `ackJob` tells whether the job waits
// for LF "OK"; `reply` is what the job's exchange last received. The `port` and `report` names
// go into the English text.
FailureReading ReadFailure(const char* text, const char* caption, bool ackJob, const char* reply,
                           const std::string& port, const std::string& report);

}  // namespace cli
