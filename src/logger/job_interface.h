#pragma once
// A job as a front end that is no dialog means it: what it asks for (JobInputs), applied to the
// dialog the core runs on in one call, and what came of it (JobReport), read in one call. The
// Win32 dialog meets the core at its controls instead; this is the same job at the level of its
// meaning, so that such a front end never deals in control ids.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logger/jobs.h"
#include "platform/dialog.h"

namespace pt {

// A typed special start, to the minute.
struct StartMinute {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

struct JobInputs {
  int request = 0;  // a JobRequest
  unsigned baud = 9600;
  std::string clockSjis;  // set-clock: YYYYMMDDhhmmss as typed
  bool pcClock = false;   // set-clock: from the PC's clock instead
  std::string memoSjis;   // write-memo
  std::optional<StartMinute> start;  // download: dates the report in place of the start record
  bool debugPeriod = false;          // set-period: the debugging period
};

// Sets `dlg` up so that StartJob runs the job `in` asks for: the first port of the list (the
// front end's device opens whatever it names), the speed, and each input in its control.
void ApplyJobInputs(Dialog& dlg, const JobInputs& in);

struct JobReport {
  JobOutcome outcome;
  // A read job: the reply shown (Shift-JIS). set-clock: the clock text sent; write-memo: the memo.
  std::string reply;
  // With Outcome::Refused: what the logger answered instead, without its line breaks.
  std::string refusedReply;
  // A download: the memo, start record and pointer as shown, and every sample word read.
  std::string memo, start, pointer;
  std::vector<std::uint32_t> samples;
};

// What became of the last job of `request` run on `dlg`.
JobReport ReadJobReport(Dialog& dlg, int request);

// True once the job has ended and its port is closed: nothing is left for a tick to do.
bool JobSettled();

}  // namespace pt
