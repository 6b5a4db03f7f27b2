// Each outcome of the core as the console tells it: the exit status and the English beside it.
#include "outcome_reading.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(OutcomeReading, EachOutcomeOfTheCoreHasItsStatus) {
  using pt::Outcome;
  using pt::ReportResult;
  struct Case {
    Outcome kind;
    ReportResult report;
    ExitStatus status;
    const char* english;  // part of it
  };
  const Case cases[] = {
      {Outcome::Succeeded, ReportResult::Written, kExitOk, ""},
      {Outcome::Port, ReportResult::NotAsked, kExitPort, "cannot send the command to /dev/x"},
      {Outcome::NoReply, ReportResult::NotAsked, kExitNoReply, "no proper reply from the logger on /dev/x"},
      {Outcome::Refused, ReportResult::NotAsked, kExitRefused, "refused"},
      {Outcome::BadInput, ReportResult::NotAsked, kExitBadInput, "14 characters"},
      {Outcome::File, ReportResult::NotCreated, kExitFile, "cannot create r.html"},
      {Outcome::File, ReportResult::WriteFailed, kExitFile, "writing r.html failed; the earlier one is kept"},
      {Outcome::BadData, ReportResult::BadStamp, kExitData, "no report written, r.html is as it was"},
      {Outcome::BadData, ReportResult::NotAsked, kExitData, "no report written"},
      {Outcome::None, ReportResult::NotAsked, kExitOther, "without saying"},
  };
  for (const Case& c : cases) {
    const OutcomeReading r = ReadOutcome({c.kind, "", c.report}, "/dev/x", "r.html");
    EXPECT_EQ(r.status, c.status) << c.english;
    EXPECT_NE(r.english.find(c.english), std::string::npos) << r.english;
  }
}

}  // namespace
}  // namespace cli
