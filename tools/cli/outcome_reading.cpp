#include "outcome_reading.h"

namespace cli {

OutcomeReading ReadOutcome(const pt::JobOutcome& outcome, const std::string& port, const std::string& report) {
  using pt::Outcome;
  using pt::ReportResult;
  switch (outcome.kind) {
    case Outcome::Succeeded: return {kExitOk, ""};
    case Outcome::Port: return {kExitPort, "cannot send the command to " + port};
    case Outcome::NoReply: return {kExitNoReply, "no proper reply from the logger on " + port};
    case Outcome::Refused: return {kExitRefused, "the logger on " + port + " refused the command"};
    case Outcome::BadInput: return {kExitBadInput, "the clock must be 14 characters, YYYYMMDDhhmmss, a real date and time"};
    case Outcome::File:
      // The report is replaced whole: after either failure the earlier one is still in place.
      if (outcome.report == ReportResult::WriteFailed) {
        return {kExitFile, "writing " + report + " failed; the earlier one is kept"};
      }
      return {kExitFile, "cannot create " + report};
    case Outcome::BadData:
      // Nothing was written in place of the earlier report.
      if (outcome.report == ReportResult::BadStamp) {
        return {kExitData, "the start record is not a usable date; no report written, " + report + " is as it was"};
      }
      return {kExitData, "the logger's sample count is unreadable or more than a download can hold; no report written"};
    case Outcome::None: break;
  }
  return {kExitOther, "the job ended without saying how"};
}

}  // namespace cli
