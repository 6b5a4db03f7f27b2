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

enum ExchangePhase { PhaseIdle = 0, PhaseSend = 1, PhaseAwaitReply = 2, PhaseComplete = 3 };

struct ExchangeContext {
  std::int32_t phase = PhaseIdle;
  std::int32_t failedWaits = 0;
  std::int32_t spinnerFrame = 0;
  // 1 when the last failed wait of an acknowledged command ended in a refusal, not in silence.
  std::int32_t lastWaitRefused = 0;
};

struct ExchangeState {
  ExchangeContext Ack;
  ExchangeContext Reply;
  int ReplyTimedOut = 0;
  // 1 when something was lost or damaged on the way since the last send: a NUL cut a piece short,
  // the reply outgrew its buffer, or the line reported an error. The reply may then look right
  // and still be wrong, so the callers that parse it ask again instead.
  int ReplyFlawed = 0;
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
// True while a variant has something to do at its next step that needs no new byte from the
// line: a send, a complete reply to judge, or a wait that has timed out. A front end that can wait
// on the line itself (the console) uses it to know when a step would only find nothing new.
bool ExchangeCanStep();

}  // namespace pt
