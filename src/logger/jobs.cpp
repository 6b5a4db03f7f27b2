#include "logger/jobs.h"

#include <cstdio>
#include <cstring>

#include "app/main_dialog.h"
#include "control_ids.h"
#include "logger/text_numbers.h"
#include "platform/local_time.h"
#include "platform/sjis.h"
#include "serial/port.h"

namespace pt {

JobsState Jobs;

namespace {

constexpr const char* kNoProperReply = "正常な応答がありません";
constexpr const char* kCannotSend = "送信出来ません";
constexpr const char* kBadClock = "設定日時が異常です";
constexpr const char* kBadSampleCount = "温度データの数のデータが異常 !!";
constexpr const char* kFiveBlanks = "     ";
static_assert(kMaxSampleCount == kSampleTableSize, "a pointer that counts must fit the sample table");

// A reader's exchange result for a reply that came complete but never counted, ask after ask.
constexpr int kMalformedReply = -3;

// A single-command job: its first state k01 and its states k02, k90 and k99.
struct SingleJob {
  int request;
  int firstState;
  bool acknowledged;    // AckExchange (changes the logger) or ReplyExchange (reads it)
  const char* command;  // fixed command of a read job
  int replyLabel;       // where a read job shows its reply
};

constexpr SingleJob kSingleJobs[] = {
    {SetPeriodJob, 101, true, nullptr, 0},
    {SetClockJob, 201, true, nullptr, 0},
    {WriteMemoJob, 301, true, nullptr, 0},
    {ReadClockJob, 401, false, kReadClockCommand, IDC_CLOCK_REPLY},
    {ReadMemoJob, 501, false, kReadMemoCommand, IDC_MEMO_REPLY},
    {CheckMemoJob, 601, false, kReadMemoCommand, IDC_MEMO_CHECK_REPLY},
    {CheckStartJob, 701, false, kReadStartCommand, IDC_START_CHECK_REPLY},
    {CheckPointerJob, 801, false, kReadPointerCommand, IDC_POINTER_REPLY},
};

const SingleJob* FindSingleJob(int state) {
  const int k = state / 100;
  if (k < 1 || k > 8) return nullptr;
  const int step = state % 100;
  if (step != 1 && step != 2 && step != 90 && step != 99) return nullptr;
  return &kSingleJobs[k - 1];
}

void Fail(Dialog& dlg, const char* message) {
  dlg.Beep();
  dlg.ShowMessage(message, "", BoxOwner::Dialog);
}

void EndJob(Dialog& dlg) {
  Jobs.BusyFlag = 0;
  Jobs.JobState = 0;
  Port.ClosePortFlag = 1;
  RefreshJobControls(dlg);
}

void SelectJob(Dialog& dlg) {
  static constexpr struct { int request, firstState; } kSelection[] = {
      {DownloadJob, 1},   {SetPeriodJob, 101}, {SetClockJob, 201},   {WriteMemoJob, 301},  {ReadClockJob, 401},
      {ReadMemoJob, 501}, {CheckMemoJob, 601}, {CheckStartJob, 701}, {CheckPointerJob, 801},
  };
  bool matched = false;
  for (const auto& s : kSelection) {
    if (Jobs.PendingJob == s.request) {
      Jobs.SampleIndex = 0;
      Jobs.JobState = s.firstState;
      matched = true;
      break;
    }
  }
  if (!matched) {
    DrainReceiveQueue();
    Jobs.BusyFlag = 0;
    Port.ClosePortFlag = 1;
  }
  RefreshJobControls(dlg);
}

// State k01: build the command and arm the exchange. Returns false when the job ended instead.
bool PrepareSingleJob(Dialog& dlg, const SingleJob& job) {
  char* command = Jobs.CommandBuffer;
  char* reply = Jobs.ReplyBuffer;
  switch (job.request) {
    case SetPeriodJob:
      std::snprintf(command, kCommandBufferSize, "%s",
                    dlg.IsButtonChecked(IDC_DEBUG_PERIOD) == 1 ? kDebugPeriodCommand : kRegularPeriodCommand);
      break;
    case SetClockJob:
      if (dlg.IsButtonChecked(IDC_USE_PC_CLOCK) == 1) FillClockFromPc(dlg);
      dlg.GetItemText(IDC_CLOCK_EDIT, reply, 16);
      if (std::strlen(reply) != 14) {
        Fail(dlg, kBadClock);
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
  if (job.acknowledged) {
    AckExchange(dlg, 0, command, reply);
  } else {
    ReplyExchange(dlg, 0, command, reply);
  }
  return true;
}

// State k02: step the exchange. Returns the next state.
int AwaitSingleJob(Dialog& dlg, const SingleJob& job) {
  const int k = job.firstState - 1;
  if (job.acknowledged) {
    switch (AckExchange(dlg, 1, Jobs.CommandBuffer, Jobs.ReplyBuffer)) {
      case 1: return k + 90;
      case -1: return k + 99;  // a write job that could not send ends quietly
      case -2: Fail(dlg, kNoProperReply); return k + 99;
      default: return k + 2;
    }
  }
  switch (ReplyExchange(dlg, 1, Jobs.CommandBuffer, Jobs.ReplyBuffer)) {
    case 1:
      StripLineBreaks(Jobs.ReplyBuffer);
      dlg.SetItemText(job.replyLabel, Jobs.ReplyBuffer);
      return k + 90;
    case -1: Fail(dlg, kCannotSend); return k + 99;
    case -2: Fail(dlg, kNoProperReply); return k + 99;
    default: return k + 2;
  }
}

void StepSingleJob(Dialog& dlg, const SingleJob& job) {
  switch (Jobs.JobState % 100) {
    case 1:
      Jobs.JobState = PrepareSingleJob(dlg, job) ? job.firstState + 1 : job.firstState + 98;
      break;
    case 2:
      Jobs.JobState = AwaitSingleJob(dlg, job);
      break;
    default:  // k90, k99
      EndJob(dlg);
      break;
  }
}

void ShowSampleCounter(Dialog& dlg) {
  std::snprintf(Jobs.SampleReplyBuffer, kReplyBufferSize, "%d/%-4d", static_cast<int>(Jobs.SampleIndex),
                static_cast<int>(Jobs.SampleCount));
  dlg.SetItemText(IDC_SAMPLE_COUNTER, Jobs.SampleReplyBuffer);
}

void ReadSample(Dialog& dlg) {
  switch (SampleRead(dlg, 1, Jobs.SampleIndex, Jobs.SampleReplyBuffer)) {
    case 1: {
      UpdateProgress(dlg, 0, 0);
      if (Jobs.SampleIndex >= 0 && Jobs.SampleIndex < kSampleTableSize) {
        Jobs.SampleTable[Jobs.SampleIndex] = Jobs.SampleWord;
      }
      ++Jobs.SampleIndex;
      Jobs.JobState = Jobs.SampleIndex < Jobs.SampleCount ? 12 : 14;
      break;
    }
    case -1: Jobs.JobState = 99; break;
    default: Jobs.JobState = 13; break;
  }
}

void WriteDownloadReport(Dialog& dlg) {
  dlg.SetItemText(IDC_SAMPLE_COUNTER, "");
  char specialStamp[kReplyBufferSize] = "STR:";
  const char* stamp = Jobs.StartText;
  if (dlg.IsButtonChecked(IDC_SPECIAL_START) == 1) {
    // At most 15 characters are taken, so "STR:" and the text always fit.
    dlg.GetItemText(IDC_SPECIAL_START_EDIT, Jobs.ReplyBuffer, 16);
    CopySjisBounded(specialStamp + 4, 16, Jobs.ReplyBuffer);
    stamp = specialStamp;
  }
  WriteReport(dlg, stamp, Jobs.PointerText, Jobs.SampleTable);
}

void StepDownloadJob(Dialog& dlg) {
  switch (Jobs.JobState) {
    case 1:
      UpdateProgress(dlg, 1, Jobs.SampleCount);
      HeaderRead(dlg, 0, Jobs.MemoText, Jobs.StartText, Jobs.PointerText);
      Jobs.JobState = 2;
      break;
    case 2:
      switch (HeaderRead(dlg, 1, Jobs.MemoText, Jobs.StartText, Jobs.PointerText)) {
        case 1:
          StripLineBreaks(Jobs.MemoText);
          StripLineBreaks(Jobs.StartText);
          StripLineBreaks(Jobs.PointerText);
          Jobs.JobState = 11;
          break;
        case -1: Jobs.JobState = 99; break;
        default: break;
      }
      break;
    case 11: {
      dlg.SetItemText(IDC_MEMO_CHECK_REPLY, Jobs.MemoText);
      dlg.SetItemText(IDC_START_CHECK_REPLY, Jobs.StartText);
      dlg.SetItemText(IDC_POINTER_REPLY, Jobs.PointerText);
      // The header reader let only a well-formed count that the table can hold through.
      Jobs.SampleCount = Jobs.PointerCount;
      UpdateProgress(dlg, 1, Jobs.SampleCount);
      Jobs.SampleIndex = 0;
      Jobs.JobState = 12;
      break;
    }
    case 12:
      SampleRead(dlg, 0, Jobs.SampleIndex, Jobs.SampleReplyBuffer);
      ShowSampleCounter(dlg);
      Jobs.JobState = 13;
      ReadSample(dlg);  // the sample's command goes out on this same tick
      break;
    case 13:
      ReadSample(dlg);
      break;
    case 14:
      WriteDownloadReport(dlg);
      Jobs.JobState = 90;
      break;
    default:  // 90, 99
      dlg.SetItemText(IDC_SAMPLE_COUNTER, kFiveBlanks);
      EndJob(dlg);
      UpdateProgress(dlg, 1, Jobs.SampleCount);
      break;
  }
}

bool IsDownloadState(int state) {
  switch (state) {
    case 1: case 2: case 11: case 12: case 13: case 14: case 90: case 99: return true;
    default: return false;
  }
}

// Result of a reader's exchange step: the pending message for -1, -2 and kMalformedReply.
struct ReaderStep {
  int exchangeResult;
  const char* cannotSend;
  const char* noReply;
  const char* malformed;
};

// Shared tail of both readers: 0 to go on, or the state to move to (19 on failure, `done`).
int JudgeReaderStep(const ReaderStep& step, char* pending, int doneState, int currentState) {
  const char* message = nullptr;
  switch (step.exchangeResult) {
    case 1: return doneState;
    case -1: message = step.cannotSend; break;
    case -2: message = step.noReply; break;
    case kMalformedReply: message = step.malformed; break;
    default: return currentState;
  }
  std::snprintf(pending, kReplyBufferSize, "%s", message);
  return 19;
}

// A complete reply that does not count is asked for again at once with the same command: noise
// seldom strikes the same reply twice, and a number taken from a spoilt reply would be a wrong
// season presented as a good one. Each ask keeps the exchange's own time-out and resend.
// Returns what the reader judges: 1 the reply counts, 0 asked again, -1 the new ask could not be
// sent, kMalformedReply when no ask is left.
int KeepIfWellFormed(Dialog& dlg, bool wellFormed, int& asks, const char* command, char* reply) {
  if (wellFormed) return 1;
  if (asks >= kAsksPerReply) return kMalformedReply;
  ++asks;
  ReplyExchange(dlg, 0, command, reply);
  return ReplyExchange(dlg, 1, command, reply);
}

int FinishReader(Dialog& dlg, int& state, const char* pending) {
  if (state == 10) {
    dlg.SetItemText(IDC_SAMPLE_COUNTER, kFiveBlanks);
    state = 0;
    return 1;
  }
  dlg.Beep();
  dlg.ShowMessage(pending, "", BoxOwner::Dialog);
  dlg.SetItemText(IDC_SAMPLE_COUNTER, kFiveBlanks);
  state = 0;
  return -1;
}

}  // namespace

void JobTick(Dialog& dlg) {
  if (Port.PortOpenFlag == 1) StepJobSequencer(dlg);
}

void StepJobSequencer(Dialog& dlg) {
  if (Jobs.BusyFlag != 1) return;
  const int state = Jobs.JobState;
  if (state == 0) {
    SelectJob(dlg);
  } else if (IsDownloadState(state)) {
    StepDownloadJob(dlg);
  } else if (const SingleJob* job = FindSingleJob(state)) {
    StepSingleJob(dlg, *job);
  } else {
    DrainReceiveQueue();
    Jobs.BusyFlag = 0;
    Port.ClosePortFlag = 1;
    Jobs.JobState = 0;
  }
}

int HeaderRead(Dialog& dlg, int mode, char* memo, char* start, char* pointer) {
  int& state = Jobs.HeaderReaderState;
  char* pending = Jobs.HeaderPendingText;
  if (mode == 0) {
    state = 1;
    ReplyExchange(dlg, 0, kReadMemoCommand, memo);
    return 0;
  }
  switch (state) {
    case 1: {
      const int r = ReplyExchange(dlg, 1, kReadMemoCommand, memo);
      state = JudgeReaderStep({r, "送信出来ません[MEM] ！！", "応答が有りません[MEM] ！！", nullptr}, pending, 2, 1);
      if (state == 2) ReplyExchange(dlg, 0, kReadStartCommand, start);
      return 0;
    }
    case 2: {
      const int r = ReplyExchange(dlg, 1, kReadStartCommand, start);
      state = JudgeReaderStep({r, "送信出来ません[STR] ！！", "応答が有りません[STR] ！！", nullptr}, pending, 3, 2);
      if (state == 3) {
        Jobs.PointerAsks = 1;
        ReplyExchange(dlg, 0, kReadPointerCommand, pointer);
      }
      return 0;
    }
    case 3: {
      int r = ReplyExchange(dlg, 1, kReadPointerCommand, pointer);
      if (r == 1) {
        // Checked as received: with its line breaks removed "7", LF, "200" would read 7200.
        std::int32_t count = 0;
        const bool wellFormed = Exchange.ReplyFlawed == 0 && CheckPointerReply(pointer, &count);
        if (wellFormed && count > kMaxSampleCount) {
          // A clean count the table cannot hold: asking again would only bring it back.
          r = kMalformedReply;
        } else {
          if (wellFormed) Jobs.PointerCount = count;
          r = KeepIfWellFormed(dlg, wellFormed, Jobs.PointerAsks, kReadPointerCommand, pointer);
        }
      }
      state = JudgeReaderStep({r, "送信出来ません[PT] ！！", "応答が有りません[PT] ！！", kBadSampleCount}, pending,
                              10, 3);
      return 0;
    }
    case 10:
    case 19:
      return FinishReader(dlg, state, pending);
    default:
      DrainReceiveQueue();
      state = 0;
      return 0;
  }
}

int SampleRead(Dialog& dlg, int mode, int index, char* reply) {
  int& state = Jobs.SampleReaderState;
  char* pending = Jobs.SamplePendingText;
  if (mode == 0) {
    state = 1;
    Jobs.SampleAsks = 1;
    FormatSampleCommand(Jobs.SampleCommandBuffer, index);
    ReplyExchange(dlg, 0, Jobs.SampleCommandBuffer, reply);
    return 0;
  }
  switch (state) {
    case 1: {
      int r = ReplyExchange(dlg, 1, Jobs.SampleCommandBuffer, reply);
      if (r == 1) {
        const bool wellFormed = Exchange.ReplyFlawed == 0 && CheckSampleReply(reply, &Jobs.SampleWord);
        r = KeepIfWellFormed(dlg, wellFormed, Jobs.SampleAsks, Jobs.SampleCommandBuffer, reply);
      }
      state = JudgeReaderStep({r, "送信出来ません[TAVO] ！！", "応答が有りません[TAVO] ！！", kNoProperReply},
                              pending, 10, 1);
      return 0;
    }
    case 10:
    case 19:
      return FinishReader(dlg, state, pending);
    default:
      DrainReceiveQueue();
      state = 0;
      return 0;
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
    dlg.ProgressMessage(IDC_PROGRESS, kPbmSetPos, 0, 0);
    dlg.ProgressMessage(IDC_PROGRESS, kPbmSetRange32, 0, count);
    dlg.ProgressMessage(IDC_PROGRESS, kPbmSetStep, 1, 0);
  } else {
    dlg.ProgressMessage(IDC_PROGRESS, kPbmStepIt, 0, 0);
  }
}

}  // namespace pt
