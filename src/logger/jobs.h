#pragma once
// The job sequencer: one job at a time, one state per tick.
#include <cstdint>

#include "logger/commands.h"
#include "logger/exchange.h"
#include "platform/dialog.h"
#include "report/html_report.h"

namespace pt {

// JobRequest values, one bit per job.
enum JobRequest : int {
  DownloadJob = 1024,
  SetClockJob = 512,
  SetPeriodJob = 256,
  WriteMemoJob = 128,
  ReadClockJob = 64,
  ReadMemoJob = 32,
  CheckMemoJob = 16,
  CheckStartJob = 8,
  CheckPointerJob = 4,
};

// JobState values. The download has states of its own; a single-command job whose first state is
// k01 (k = 1 to 8, the row of the job table) runs k01 + the steps of SingleJobStep.
enum JobStateValue : int {
  kJobIdle = 0,
  kDownloadBegin = 1,         // empty the bar, arm the header reader
  kDownloadReadHeaders = 2,   // memo, start and pointer
  kDownloadTakeCount = 11,    // show the headers, take the sample count
  kDownloadAskSample = 12,    // arm the sample reader and send at once
  kDownloadAwaitSample = 13,  // until the sample's reply counts
  kDownloadWriteReport = 14,
  kDownloadSucceeded = 90,
  kDownloadFailed = 99,
};
enum SingleJobStep : int {
  kStepPrepare = 1,  // build the command, arm the exchange
  kStepAwait = 2,    // step the exchange
  kStepSucceeded = 90,
  kStepFailed = 99,
};

// What became of the last job, for a front end that must tell more than the message box did.
enum class Outcome {
  None,       // no job has ended since it was started
  Succeeded,
  Port,       // a command could not be written to the line
  NoReply,    // no reply that counts, even after the resend and the asks again
  Refused,    // the logger answered a changing command with something other than LF "OK"
  BadInput,   // what the user typed cannot be sent (a clock of the wrong length)
  File,       // the report could not be written; the earlier one is kept
  BadData,    // the logger's count or start record cannot make a report
};
struct JobOutcome {
  Outcome kind = Outcome::None;
  const char* message = "";  // the text the user was shown (Shift-JIS), "" when none
  ReportResult report = ReportResult::NotAsked;
};

// Process-wide state of the sequencer; a fresh value is the state at program start.
struct JobsState {
  int PendingJob = 0;
  int BusyFlag = 0;
  int JobState = 0;

  // What a download brought back; kept until the next download, never cleared.
  char MemoText[kReplyBufferSize] = {};
  char StartText[kReplyBufferSize] = {};
  char PointerText[kReplyBufferSize] = {};
  std::int32_t SampleCount = 0;
  std::int32_t SampleIndex = 0;
  std::uint32_t SampleTable[kSampleTableSize] = {};

  char CommandBuffer[kCommandBufferSize] = {};
  char ReplyBuffer[kReplyBufferSize] = {};
  char SampleCommandBuffer[kSampleCommandBufferSize] = {};
  char SampleReplyBuffer[kReplyBufferSize] = {};

  int HeaderReaderState = 0;
  char HeaderPendingText[kReplyBufferSize] = {};
  int PointerAsks = 0;             // asks of the pointer so far in this header read
  std::int32_t PointerCount = 0;   // the count of the last pointer reply that counted
  int SampleReaderState = 0;
  char SamplePendingText[kReplyBufferSize] = {};
  int SampleAsks = 0;              // asks of the current sample so far
  std::uint32_t SampleWord = 0;    // the number of the last sample reply that counted
  // What the readers will report at their failure state.
  Outcome HeaderPendingOutcome = Outcome::None;
  Outcome SamplePendingOutcome = Outcome::None;

  JobOutcome LastOutcome;

  // 1 while the dialog holds the fine timer resolution for a running job.
  int FineTimersHeld = 0;
};

// How often a reply that does not count is asked for: the first ask and two more.
inline constexpr int kAsksPerReply = 3;
extern JobsState Jobs;

// What the front end does when a job starts or ends: the dialog enables or disables its job
// buttons. Nothing until one is set.
using JobControlsRefresher = void (*)(Dialog& dlg);
void SetJobControlsRefresher(JobControlsRefresher refresh);

// Told what a download keeps, reply by reply, as it came from the line (before its line breaks
// are removed): for a front end that archives the readout. Nothing is told while none is set.
class ReadoutObserver {
 public:
  virtual ~ReadoutObserver() = default;
  virtual void OnHeaders(const char* memo, const char* start, const char* pointer) = 0;
  // The reply that counted for sample `index`, and the word taken from it.
  virtual void OnSample(int index, const char* reply, std::uint32_t word) = 0;
  // What became of the report, once every sample is in. `typedStamp` is the special start it was
  // dated from ("STR:" and the typed text), nullptr when the logger's start record dated it.
  virtual void OnReport(ReportResult result, const char* typedStamp) {
    (void)result;
    (void)typedStamp;
  }
};
void SetReadoutObserver(ReadoutObserver* observer);
ReadoutObserver* InstalledReadoutObserver();

// What a front end may ask of the running job.
bool IsAcknowledgedJob(int request);
bool IsReadingSamples();  // the download is in its samples (the progress bar moves)

void JobTick(Dialog& dlg);
// Holds the fine timer resolution while a job runs and releases it when none does; with
// `closing`, releases it whatever runs. Every hold is paired with one release.
void SyncFineTimers(Dialog& dlg, bool closing = false);
void StepJobSequencer(Dialog& dlg);
int HeaderRead(Dialog& dlg, int mode, char* memo, char* start, char* pointer);
int SampleRead(Dialog& dlg, int mode, int index, char* reply);
void StripLineBreaks(char* text);
void FillClockFromPc(Dialog& dlg);
void UpdateProgress(Dialog& dlg, int mode, int count);

}  // namespace pt
