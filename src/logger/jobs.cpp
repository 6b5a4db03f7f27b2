#include "logger/jobs.h"

#include <cstdio>
#include <cstring>

#include "logger/job_steps.h"
#include "logger/messages.h"
#include "platform/local_time.h"
#include "report/samples.h"
#include "serial/port.h"

namespace pt {

JobsState Jobs;

namespace {

JobControlsRefresher gRefreshControls = nullptr;

void RefreshControls(Dialog& dlg) {
  if (gRefreshControls != nullptr) gRefreshControls(dlg);
}

void SelectJob(Dialog& dlg) {
  if (const JobRow* job = FindJobByRequest(Jobs.PendingJob)) {
    Jobs.SampleIndex = 0;
    Jobs.JobState = job->firstState;
    Jobs.LastOutcome = JobOutcome{};
  } else {
    DrainReceiveQueue();
    Jobs.BusyFlag = 0;
    Port.ClosePortFlag = 1;
  }
  RefreshControls(dlg);
}

// Step kStepPrepare: build the command and arm the exchange. Returns false when the job ended
// instead.
bool PrepareSingleJob(Dialog& dlg, const JobRow& job) {
  char* command = Jobs.CommandBuffer;
  char* reply = Jobs.ReplyBuffer;
  switch (job.request) {
    case SetPeriodJob:
      std::snprintf(command, kCommandBufferSize, "%s",
                    dlg.IsButtonChecked(IDC_DEBUG_PERIOD) == 1 ? kDebugPeriodCommand : kRegularPeriodCommand);
      break;
    case SetClockJob:
      if (dlg.IsButtonChecked(IDC_USE_PC_CLOCK) == 1) FillClockFromPc(dlg);
      // The whole field, so that a double-byte character past the fourteenth byte is seen, not cut
      // off; only fourteen digits naming a real second go to the logger.
      dlg.GetItemText(IDC_CLOCK_EDIT, reply, kReplyBufferSize);
      if (std::strlen(reply) != 14 || !IsRealTimeText(reply, 14)) {
        FailJob(dlg, Outcome::BadInput, kBadClockText);
        return false;
      }
      FormatSetClockCommand(command, reply);
      break;
    case WriteMemoJob: {
      char padded[17];
      dlg.GetItemText(IDC_MEMO_EDIT, reply, 17);
      PadMemo(reply, padded);
      dlg.SetItemText(IDC_MEMO_EDIT, padded);
      FormatWriteMemoCommand(command, padded);
      break;
    }
    default:
      std::snprintf(command, kCommandBufferSize, "%s", job.command);
      break;
  }
  reply[0] = '\0';
  if (job.exchange == JobExchange::Ack) {
    AckExchange(dlg, 0, command, reply);
  } else {
    ReplyExchange(dlg, 0, command, reply);
  }
  return true;
}

// Step kStepAwait: step the exchange. Returns the step to go to.
int AwaitSingleJob(Dialog& dlg, const JobRow& job) {
  if (job.exchange == JobExchange::Ack) {
    switch (AckExchange(dlg, 1, Jobs.CommandBuffer, Jobs.ReplyBuffer)) {
      case 1: return kStepSucceeded;
      case -1: FailJob(dlg, Outcome::Port, ""); return kStepFailed;  // a changing job ends quietly
      case -2:
        FailJob(dlg, Exchange.Ack.lastWaitRefused != 0 ? Outcome::Refused : Outcome::NoReply, kNoProperReplyText);
        return kStepFailed;
      default: return kStepAwait;
    }
  }
  switch (ReplyExchange(dlg, 1, Jobs.CommandBuffer, Jobs.ReplyBuffer)) {
    case 1:
      StripLineBreaks(Jobs.ReplyBuffer);
      dlg.SetItemText(job.replyLabel, Jobs.ReplyBuffer);
      return kStepSucceeded;
    case -1: FailJob(dlg, Outcome::Port, kCannotSendText); return kStepFailed;
    case -2: FailJob(dlg, Outcome::NoReply, kNoProperReplyText); return kStepFailed;
    default: return kStepAwait;
  }
}

void StepSingleJob(Dialog& dlg, const JobRow& job) {
  const int base = job.firstState - kStepPrepare;
  switch (Jobs.JobState - base) {
    case kStepPrepare:
      Jobs.JobState = base + (PrepareSingleJob(dlg, job) ? kStepAwait : kStepFailed);
      break;
    case kStepAwait:
      Jobs.JobState = base + AwaitSingleJob(dlg, job);
      break;
    default:  // kStepSucceeded, kStepFailed
      EndJob(dlg);
      break;
  }
}

// The single-command job of `state`, found by its hundreds; nullptr for a state no job has.
const JobRow* FindSingleJob(int state) {
  const int k = state / 100;
  if (k < 1 || k >= kJobCount) return nullptr;
  switch (state % 100) {
    case kStepPrepare: case kStepAwait: case kStepSucceeded: case kStepFailed: return &kJobTable[k];
    default: return nullptr;
  }
}

}  // namespace

const JobRow* FindJobByRequest(int request) {
  for (const JobRow& job : kJobTable) {
    if (job.request == request) return &job;
  }
  return nullptr;
}

void FailJob(Dialog& dlg, Outcome kind, const char* message) {
  Jobs.LastOutcome.kind = kind;
  Jobs.LastOutcome.message = message;
  if (message[0] == '\0') return;
  dlg.Beep();
  dlg.ShowMessage(message, "", BoxOwner::Dialog);
}

void EndJob(Dialog& dlg) {
  if (Jobs.LastOutcome.kind == Outcome::None && Jobs.JobState % 100 == kStepSucceeded) {
    Jobs.LastOutcome.kind = Outcome::Succeeded;
  }
  Jobs.BusyFlag = 0;
  Jobs.JobState = kJobIdle;
  Port.ClosePortFlag = 1;
  RefreshControls(dlg);
}

void SetJobControlsRefresher(JobControlsRefresher refresh) { gRefreshControls = refresh; }

bool IsAcknowledgedJob(int request) {
  const JobRow* job = FindJobByRequest(request);
  return job != nullptr && job->exchange == JobExchange::Ack;
}

bool IsReadingSamples() {
  return Jobs.BusyFlag == 1 && (Jobs.JobState == kDownloadAskSample || Jobs.JobState == kDownloadAwaitSample);
}

void SyncFineTimers(Dialog& dlg, bool closing) {
  const int wanted = (Jobs.BusyFlag == 1 && !closing) ? 1 : 0;
  if (Jobs.FineTimersHeld == wanted) return;
  Jobs.FineTimersHeld = wanted;
  dlg.HoldFineTimers(wanted == 1);
}

void JobTick(Dialog& dlg) {
  if (Port.PortOpenFlag == 1) StepJobSequencer(dlg);
}

void StepJobSequencer(Dialog& dlg) {
  if (Jobs.BusyFlag != 1) return;
  const int state = Jobs.JobState;
  if (state == kJobIdle) {
    SelectJob(dlg);
  } else if (IsDownloadState(state)) {
    StepDownloadJob(dlg);
  } else if (const JobRow* job = FindSingleJob(state)) {
    StepSingleJob(dlg, *job);
  } else {
    DrainReceiveQueue();
    Jobs.BusyFlag = 0;
    Port.ClosePortFlag = 1;
    Jobs.JobState = kJobIdle;
  }
}

void StripLineBreaks(char* text) {
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in) {
    if (*in != '\r' && *in != '\n') *out++ = *in;
  }
  *out = '\0';
}

void FillClockFromPc(Dialog& dlg) {
  const LocalTime t = GetLocalTimeNow();
  char text[kReplyBufferSize];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  dlg.SetItemText(IDC_CLOCK_EDIT, text);
}

void UpdateProgress(Dialog& dlg, int mode, int count) {
  if (mode == 1) {
    dlg.SetProgressPos(IDC_PROGRESS, 0);
    dlg.SetProgressRange(IDC_PROGRESS, 0, count);
    dlg.SetProgressStep(IDC_PROGRESS, 1);
  } else {
    dlg.StepProgress(IDC_PROGRESS);
  }
}

}  // namespace pt
