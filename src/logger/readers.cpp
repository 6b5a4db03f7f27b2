// The download's two readers: the header reader (memo, start, pointer, one after another) and the
// sample reader. Each arms and steps the reply exchange and keeps a failure's message for the
// tick after, when it is shown.
#include <cstdio>

#include "logger/job_steps.h"
#include "logger/jobs.h"
#include "logger/messages.h"
#include "logger/text_numbers.h"

namespace pt {

namespace {

static_assert(kMaxSampleCount == kSampleTableSize, "a pointer that counts must fit the sample table");

enum ReaderState : int {
  kReaderIdle = 0,
  kReadingMemo = 1,
  kReadingSample = 1,  // the sample reader's one reading state
  kReadingStart = 2,
  kReadingPointer = 3,
  kReaderDone = 10,
  kReaderFailed = 19,
};

constexpr const char* kFiveBlanks = "     ";

// A reader's exchange result for a reply that came complete but never counted, ask after ask.
constexpr int kMalformedReply = -3;

// What a reader says for each way its exchange can fail.
struct ReaderFailures {
  ReadFailureTexts texts;
  const char* malformed;     // the message when no ask gave a reply that counts
  Outcome malformedOutcome;
};

// Shared tail of both readers: the state to move to (kReaderFailed on failure, `done` when the
// reply counted, `current` to go on). A failure's message and outcome wait in `pending`.
int JudgeReaderStep(int exchangeResult, const ReaderFailures& failures, char* pending, Outcome& pendingOutcome,
                    int done, int current) {
  const char* message = nullptr;
  switch (exchangeResult) {
    case 1: return done;
    case -1: message = failures.texts.cannotSend; pendingOutcome = Outcome::Port; break;
    case -2: message = failures.texts.noReply; pendingOutcome = Outcome::NoReply; break;
    case kMalformedReply: message = failures.malformed; pendingOutcome = failures.malformedOutcome; break;
    default: return current;
  }
  std::snprintf(pending, kReplyBufferSize, "%s", message);
  return kReaderFailed;
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

int FinishReader(Dialog& dlg, int& state, const char* pending, Outcome pendingOutcome) {
  const bool done = state == kReaderDone;
  if (!done) FailJob(dlg, pendingOutcome, pending);
  dlg.SetItemText(IDC_SAMPLE_COUNTER, kFiveBlanks);
  state = kReaderIdle;
  return done ? 1 : -1;
}

// The pointer reply, checked as received: with its line breaks removed "7", LF, "200" would read
// 7200. A clean count the table cannot hold is refused at once: asking again would only bring it
// back.
int JudgePointerReply(Dialog& dlg, char* pointer) {
  std::int32_t count = 0;
  const bool wellFormed = Exchange.ReplyFlawed == 0 && CheckPointerReply(pointer, &count);
  if (wellFormed && count > kMaxSampleCount) return kMalformedReply;
  if (wellFormed) Jobs.PointerCount = count;
  return KeepIfWellFormed(dlg, wellFormed, Jobs.PointerAsks, kReadPointerCommand, pointer);
}

}  // namespace

int HeaderRead(Dialog& dlg, int mode, char* memo, char* start, char* pointer) {
  int& state = Jobs.HeaderReaderState;
  char* pending = Jobs.HeaderPendingText;
  Outcome& pendingOutcome = Jobs.HeaderPendingOutcome;
  if (mode == 0) {
    state = kReadingMemo;
    ReplyExchange(dlg, 0, kReadMemoCommand, memo);
    return 0;
  }
  switch (state) {
    case kReadingMemo: {
      const int r = ReplyExchange(dlg, 1, kReadMemoCommand, memo);
      state = JudgeReaderStep(r, {kMemoReadTexts, nullptr, Outcome::None}, pending, pendingOutcome, kReadingStart,
                              kReadingMemo);
      if (state == kReadingStart) ReplyExchange(dlg, 0, kReadStartCommand, start);
      return 0;
    }
    case kReadingStart: {
      const int r = ReplyExchange(dlg, 1, kReadStartCommand, start);
      state = JudgeReaderStep(r, {kStartReadTexts, nullptr, Outcome::None}, pending, pendingOutcome,
                              kReadingPointer, kReadingStart);
      if (state == kReadingPointer) {
        Jobs.PointerAsks = 1;
        ReplyExchange(dlg, 0, kReadPointerCommand, pointer);
      }
      return 0;
    }
    case kReadingPointer: {
      int r = ReplyExchange(dlg, 1, kReadPointerCommand, pointer);
      if (r == 1) r = JudgePointerReply(dlg, pointer);
      state = JudgeReaderStep(r, {kPointerReadTexts, kBadSampleCountText, Outcome::BadData}, pending,
                              pendingOutcome, kReaderDone, kReadingPointer);
      return 0;
    }
    case kReaderDone:
    case kReaderFailed:
      return FinishReader(dlg, state, pending, pendingOutcome);
    default:
      DrainReceiveQueue();
      state = kReaderIdle;
      return 0;
  }
}

int SampleRead(Dialog& dlg, int mode, int index, char* reply) {
  int& state = Jobs.SampleReaderState;
  char* pending = Jobs.SamplePendingText;
  if (mode == 0) {
    state = kReadingSample;
    Jobs.SampleAsks = 1;
    FormatSampleCommand(Jobs.SampleCommandBuffer, index);
    ReplyExchange(dlg, 0, Jobs.SampleCommandBuffer, reply);
    return 0;
  }
  switch (state) {
    case kReadingSample: {
      int r = ReplyExchange(dlg, 1, Jobs.SampleCommandBuffer, reply);
      // An empty logger is still asked for sample 0, but no slot its answer fills is reported:
      // whatever comes back, or nothing at all, it is no fault.
      if (Jobs.SampleCount == 0) {
        if (r == -2) r = 1;
        state = JudgeReaderStep(r, {kSampleReadTexts, kNoProperReplyText, Outcome::NoReply}, pending,
                                Jobs.SamplePendingOutcome, kReaderDone, kReadingSample);
        return 0;
      }
      if (r == 1) {
        const bool wellFormed = Exchange.ReplyFlawed == 0 && CheckSampleReply(reply, &Jobs.SampleWord);
        r = KeepIfWellFormed(dlg, wellFormed, Jobs.SampleAsks, Jobs.SampleCommandBuffer, reply);
      }
      state = JudgeReaderStep(r, {kSampleReadTexts, kNoProperReplyText, Outcome::NoReply}, pending,
                              Jobs.SamplePendingOutcome, kReaderDone, kReadingSample);
      return 0;
    }
    case kReaderDone:
    case kReaderFailed:
      return FinishReader(dlg, state, pending, Jobs.SamplePendingOutcome);
    default:
      DrainReceiveQueue();
      state = kReaderIdle;
      return 0;
  }
}

}  // namespace pt
