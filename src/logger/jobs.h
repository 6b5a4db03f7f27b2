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
};

// How often a reply that does not count is asked for: the first ask and two more.
inline constexpr int kAsksPerReply = 3;
extern JobsState Jobs;

void JobTick(Dialog& dlg);
void StepJobSequencer(Dialog& dlg);
int HeaderRead(Dialog& dlg, int mode, char* memo, char* start, char* pointer);
int SampleRead(Dialog& dlg, int mode, int index, char* reply);
void StripLineBreaks(char* text);
void FillClockFromPc(Dialog& dlg);
void UpdateProgress(Dialog& dlg, int mode, int count);

}  // namespace pt
