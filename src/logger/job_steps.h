#pragma once
// What the parts of the sequencer share: the job table, and how a job fails and ends.
#include "control_ids.h"
#include "logger/commands.h"
#include "logger/jobs.h"

namespace pt {

enum class JobExchange { Ack, Reply };

struct JobRow {
  int request;
  int firstState;
  JobExchange exchange;  // Ack for the commands that change the logger, Reply for the reads
  const char* command;   // the fixed command of a read job; nullptr where the job builds it
  int replyLabel;        // where a read job shows its reply; 0 for none
};

// Row 0 is the download; row k is the single-command job whose states are k01 to k99, so the
// hundreds of a state find its job.
inline constexpr JobRow kJobTable[] = {
    {DownloadJob, kDownloadBegin, JobExchange::Reply, nullptr, 0},
    {SetPeriodJob, 101, JobExchange::Ack, nullptr, 0},
    {SetClockJob, 201, JobExchange::Ack, nullptr, 0},
    {WriteMemoJob, 301, JobExchange::Ack, nullptr, 0},
    {ReadClockJob, 401, JobExchange::Reply, kReadClockCommand, IDC_CLOCK_REPLY},
    {ReadMemoJob, 501, JobExchange::Reply, kReadMemoCommand, IDC_MEMO_REPLY},
    {CheckMemoJob, 601, JobExchange::Reply, kReadMemoCommand, IDC_MEMO_CHECK_REPLY},
    {CheckStartJob, 701, JobExchange::Reply, kReadStartCommand, IDC_START_CHECK_REPLY},
    {CheckPointerJob, 801, JobExchange::Reply, kReadPointerCommand, IDC_POINTER_REPLY},
};
inline constexpr int kJobCount = sizeof kJobTable / sizeof kJobTable[0];

constexpr bool RowsFollowTheHundreds() {
  if (kJobTable[0].request != DownloadJob || kJobTable[0].firstState != kDownloadBegin) return false;
  for (int k = 1; k < kJobCount; ++k) {
    if (kJobTable[k].firstState != k * 100 + kStepPrepare) return false;
  }
  return true;
}
static_assert(RowsFollowTheHundreds(), "a single-command job's row must be the hundreds of its states");

const JobRow* FindJobByRequest(int request);

// The job has failed: remembers why, then beeps and shows `message` unless it is empty.
void FailJob(Dialog& dlg, Outcome kind, const char* message);
// The end state of every job: not busy, the port to be closed at the next tick, buttons back.
void EndJob(Dialog& dlg);

bool IsDownloadState(int state);
void StepDownloadJob(Dialog& dlg);

}  // namespace pt
