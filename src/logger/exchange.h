#pragma once
// One command and its reply, advanced one step per tick, with a one-second reply timer and one
// resend.
#include <cstdint>

#include "platform/dialog.h"

namespace pt {

inline constexpr int kReplyTimerId = 10;
inline constexpr unsigned kReplyTimerMs = 1000;
inline constexpr int kTickTimerId = 100;
inline constexpr unsigned kTickTimerMs = 10;
inline constexpr int kReplyBufferSize = 80;
// An ask whose wait ran out may still be answered: after a reply that came only after a resend
// the other ask's answer may follow, and a wait that ran out in the middle of a reply leaves its
// tail on the way. The next send is held until that answer has come and been thrown away, or
// this long. A busy logger answers the queued resend right after its late reply (0 to 8 ms on
// the simulator, the reply's bytes included), but a slow one takes as long after it as it takes
// for any command: 0.6 s covers a logger that needs up to about half a second for every answer,
// and keeps what a lost command costs (its one-second wait, then this) under two seconds.
inline constexpr int kSettleTimerId = 11;
inline constexpr unsigned kSettleTimerMs = 600;

enum ExchangePhase { PhaseIdle = 0, PhaseSend = 1, PhaseAwaitReply = 2, PhaseComplete = 3 };

struct ExchangeContext {
  std::int32_t phase = PhaseIdle;
  std::int32_t failedWaits = 0;
  std::int32_t spinnerFrame = 0;
  // 1 when the last failed wait of an acknowledged command ended in a refusal, not in silence.
  std::int32_t lastWaitRefused = 0;
  // 1 when a wait of the current exchange ended in silence: that ask may still be answered.
  std::int32_t silentWait = 0;
};

struct ExchangeState {
  ExchangeContext Ack;
  ExchangeContext Reply;
  int ReplyTimedOut = 0;
  // 1 when something was lost or damaged on the way since the last send: a NUL cut a piece short,
  // the reply outgrew its buffer, or the line reported an error. The reply may then look right
  // and still be wrong, so the callers that parse it ask again instead.
  int ReplyFlawed = 0;
  // 1 from a reply accepted after a silent wait until the answer to the other ask has been
  // thrown away or the settle timer ran out: no command goes out meanwhile, so that answer can
  // never be taken for the next command's reply.
  int SettlePending = 0;
  int SettleTimedOut = 0;
  // Something other than a line break has come since the hold began: the CR after it ends an
  // answer, where a CR alone would only end the one before.
  int SettleHeardText = 0;
};
extern ExchangeState Exchange;

// mode 0 arms (nothing sent, returns 0); any other mode steps: 0 in progress, 1 reply accepted,
// -1 the write failed, -2 no acceptable reply after the resend. `reply` holds kReplyBufferSize bytes.
int AckExchange(Dialog& dlg, int mode, const char* command, char* reply);
int ReplyExchange(Dialog& dlg, int mode, const char* command, char* reply);

void DrainReceiveQueue();
int CollectReply(char* reply);

// The reply timer has run out: the wait under way fails at its next step.
void OnReplyTimerExpired();
// The settle timer has run out: the held command goes out at its next step.
void OnSettleTimerExpired();
// True while a variant has something to do at its next step that needs no new byte from the
// line: a send that is not held, a complete reply to judge, or a wait that has timed out. A front end that can wait
// on the line itself (the console) uses it to know when a step would only find nothing new.
bool ExchangeCanStep();

}  // namespace pt
