#include "logger/exchange.h"

#include <cstring>

#include "control_ids.h"
#include "logger/messages.h"
#include "serial/port.h"

namespace pt {

ExchangeState Exchange;

namespace {

constexpr int kScratchSize = 100;
constexpr std::uint32_t kLargePiece = 90;
// The driver's input queue holds 8192 bytes; a line that keeps delivering beyond eight times
// that while we drain is not going quiet, and the send goes ahead anyway.
constexpr std::uint32_t kDrainLimit = 8 * 8192;

SerialDevice* OpenDevice() {
  SerialDevice* device = PortDevice();
  return (device != nullptr && device->IsOpen()) ? device : nullptr;
}

// Appends a received piece to the reply, never past its last byte. Bytes that do not fit are
// dropped, but a CR among them still ends the reply: it takes the last place, so a caller always
// finds the reply closed by a CR when it is reported complete. false when anything was dropped.
bool AppendPiece(char* reply, const char* piece) {
  std::size_t len = strnlen(reply, kReplyBufferSize - 1);
  bool hasCr = std::memchr(reply, '\r', len) != nullptr;
  bool whole = true;
  for (const char* p = piece; *p != '\0'; ++p) {
    if (len < kReplyBufferSize - 1) {
      reply[len++] = *p;
      if (*p == '\r') hasCr = true;
      continue;
    }
    whole = false;
    if (*p == '\r' && !hasCr) {
      reply[len - 1] = '\r';
      hasCr = true;
    }
  }
  reply[len] = '\0';
  return whole;
}

// From now on no command goes out until an answer on its way has come, or the settle timer ran out.
void HoldNextSend(Dialog& dlg) {
  Exchange.SettlePending = 1;
  Exchange.SettleTimedOut = 0;
  Exchange.SettleHeardText = 0;
  dlg.StartTimer(kSettleTimerId, kSettleTimerMs);
}

// True when `bytes` hold the end of an answer: a CR after something other than a line break,
// counting what came before them since the hold began.
bool EndsAnAnswer(const char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes[i] == '\r') {
      if (Exchange.SettleHeardText != 0) return true;
    } else if (bytes[i] != '\n') {
      Exchange.SettleHeardText = 1;
    }
  }
  return false;
}

// Holds the send while an answer to an earlier ask may still be on its way (see kSettleTimerMs).
// Bytes that come meanwhile are thrown away; once that answer has ended the send may go at once.
// True when the send may go; `answered` tells whether the answer came.
bool Settled(Dialog& dlg, bool& answered) {
  answered = false;
  if (Exchange.SettlePending == 0) return true;
  if (SerialDevice* device = OpenDevice()) {
    char scratch[kScratchSize];
    std::uint32_t count = 0;
    std::uint32_t got = 0;
    std::uint32_t taken = 0;
    while (!answered && taken < kDrainLimit && device->WaitingCount(count) && count != 0 &&
           device->Read(scratch, count < kScratchSize ? count : kScratchSize, got) && got != 0) {
      answered = EndsAnAnswer(scratch, got);
      taken += got;
    }
  }
  if (!answered && Exchange.SettleTimedOut == 0) return false;
  dlg.StopTimer(kSettleTimerId);
  Exchange.SettlePending = 0;
  Exchange.SettleTimedOut = 0;
  return true;
}

// A reply accepted after a silent wait answers one of two asks, and the other's answer may follow,
// in the same read or later. Only the first answer is the reply; the command after it waits until
// the other has come.
void SettleAfterResend(Dialog& dlg, const ExchangeContext& ctx, char* reply) {
  if (ctx.silentWait == 0) return;
  const std::size_t len = strnlen(reply, kReplyBufferSize);
  if (char* firstCr = static_cast<char*>(std::memchr(reply, '\r', len))) {
    Exchange.SettleHeardText = 0;
    const bool otherCame = EndsAnAnswer(firstCr + 1, static_cast<std::size_t>(reply + len - firstCr - 1));
    firstCr[1] = '\0';
    if (otherCame) return;
  }
  HoldNextSend(dlg);
}

int FailedWait(Dialog& dlg, ExchangeContext& ctx, bool refused, const char* reply) {
  ctx.lastWaitRefused = refused ? 1 : 0;
  if (!refused) {
    ctx.silentWait = 1;
    // The wait ran out with part of a reply in hand: its tail is still on the way and must not
    // pass for the resend's reply. (A NUL that cut the piece short took the rest of its read
    // with it: then only a piece with text in it says that more is coming.)
    const std::size_t len = strnlen(reply, kReplyBufferSize);
    const bool text = std::strspn(reply, "\n") < len;
    if (len != 0 && (text || Exchange.ReplyFlawed == 0)) {
      HoldNextSend(dlg);
      EndsAnAnswer(reply, len);
    }
  }
  ++ctx.failedWaits;
  if (ctx.failedWaits >= 2) {
    ctx.phase = PhaseIdle;
    return -2;
  }
  ctx.phase = PhaseSend;
  return 0;
}

int Send(Dialog& dlg, ExchangeContext& ctx, const char* command, char* reply) {
  bool answered = false;
  if (!Settled(dlg, answered)) return 0;
  // The wait before this resend ran out in the middle of a reply, and its end has now come and
  // gone: that ask has had its answer, and no other is to follow this one's.
  if (answered && ctx.failedWaits > 0) ctx.silentWait = 0;
  DrainReceiveQueue();
  // Whatever went wrong on the line before this send belongs to the bytes just thrown away.
  if (SerialDevice* device = OpenDevice()) device->TakeLineError();
  Exchange.ReplyFlawed = 0;
  reply[0] = '\0';
  dlg.SetItemText(IDC_SPINNER, kSpinnerFrames[ctx.spinnerFrame & 3]);
  ctx.spinnerFrame = (ctx.spinnerFrame + 1) & 3;

  SerialDevice* device = OpenDevice();
  const std::size_t length = std::strlen(command);
  if (device == nullptr || !device->Write(command, static_cast<std::uint32_t>(length))) {
    ctx.phase = PhaseIdle;
    return -1;
  }
  Exchange.ReplyTimedOut = 0;
  dlg.StartTimer(kReplyTimerId, kReplyTimerMs);
  ctx.phase = PhaseAwaitReply;
  return 0;
}

int Step(Dialog& dlg, ExchangeContext& ctx, bool wantsAck, int mode, const char* command,
         char* reply) {
  if (mode == 0) {
    ctx.phase = PhaseSend;
    ctx.failedWaits = 0;
    ctx.lastWaitRefused = 0;
    ctx.silentWait = 0;
    return 0;
  }
  switch (ctx.phase) {
    case PhaseSend:
      return Send(dlg, ctx, command, reply);
    case PhaseAwaitReply:
      // Bytes first, then the flag: a CR that came with the timeout still counts.
      if (CollectReply(reply) == 1) {
        ctx.phase = PhaseComplete;
        return 0;
      }
      if (Exchange.ReplyTimedOut == 0) return 0;
      return FailedWait(dlg, ctx, false, reply);
    case PhaseComplete:
      if (!wantsAck || std::memcmp(reply, "\nOK", 3) == 0) {
        ctx.phase = PhaseIdle;
        SettleAfterResend(dlg, ctx, reply);
        return 1;
      }
      return FailedWait(dlg, ctx, true, reply);
    default:
      return 0;
  }
}

}  // namespace

int AckExchange(Dialog& dlg, int mode, const char* command, char* reply) {
  return Step(dlg, Exchange.Ack, true, mode, command, reply);
}

int ReplyExchange(Dialog& dlg, int mode, const char* command, char* reply) {
  return Step(dlg, Exchange.Reply, false, mode, command, reply);
}

void DrainReceiveQueue() {
  SerialDevice* device = OpenDevice();
  if (device == nullptr) return;
  char scratch[kScratchSize];
  std::uint32_t drained = 0;
  std::uint32_t count = 0;
  // Ends on a failed query or read, and on a read that gives nothing although bytes are said to
  // wait (a device pulled out): either would otherwise spin for ever.
  while (drained < kDrainLimit && device->WaitingCount(count) && count != 0) {
    const std::uint32_t size = count < kScratchSize ? count : kScratchSize;
    std::uint32_t got = 0;
    if (!device->Read(scratch, size, got) || got == 0) return;
    drained += got;
  }
}

int CollectReply(char* reply) {
  SerialDevice* device = OpenDevice();
  if (device == nullptr) return 0;
  std::uint32_t count = 0;
  const bool counted = device->WaitingCount(count);
  if (device->TakeLineError()) Exchange.ReplyFlawed = 1;
  if (!counted || count == 0) return 0;
  const std::uint32_t size = count <= kScratchSize ? count : kLargePiece;
  char scratch[kScratchSize + 1];
  std::uint32_t got = 0;
  if (!device->Read(scratch, size, got) || got == 0) return 0;
  if (got > size) got = size;
  scratch[got] = '\0';  // a NUL inside the piece ends it, and what followed it is lost
  const bool cut = std::memchr(scratch, '\0', got) != nullptr;
  if (!AppendPiece(reply, scratch) || cut) Exchange.ReplyFlawed = 1;
  return std::memchr(reply, '\r', strnlen(reply, kReplyBufferSize)) != nullptr ? 1 : 0;
}

void OnReplyTimerExpired() { Exchange.ReplyTimedOut = 1; }

void OnSettleTimerExpired() { Exchange.SettleTimedOut = 1; }

bool ExchangeCanStep() {
  const bool holding = Exchange.SettlePending != 0 && Exchange.SettleTimedOut == 0;
  const auto held = [&](const ExchangeContext& c) { return c.phase == PhaseSend && holding; };
  const auto busy = [&](const ExchangeContext& c) {
    return (c.phase == PhaseSend && !holding) || c.phase == PhaseComplete;
  };
  const auto waiting = [](const ExchangeContext& c) { return c.phase == PhaseAwaitReply; };
  if (busy(Exchange.Ack) || busy(Exchange.Reply)) return true;
  if (waiting(Exchange.Ack) || waiting(Exchange.Reply)) return Exchange.ReplyTimedOut != 0;
  // A held send waits for bytes or for the settle timer, like a wait for a reply.
  return !held(Exchange.Ack) && !held(Exchange.Reply);
}

}  // namespace pt
