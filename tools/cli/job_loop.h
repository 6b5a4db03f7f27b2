#pragma once
// Runs a started job at the speed of the line: the sequencer is stepped as soon as a step can
// make progress, and otherwise the loop waits on the line until bytes arrive or the reply timer
// is due. The steps, the one resend and the reply timer's 1000 ms are the core's own.
#include <functional>

#include "logger/headless_dialog.h"

namespace cli {

struct LoopIo {
  std::function<long long()> now = pt::MonotonicMs;
  // Waits until the line has bytes or `timeoutMs` passed; false when the line cannot be waited
  // on (gone, or none open), and the loop then sleeps instead.
  std::function<bool(int timeoutMs)> waitReadable;
  std::function<void(int ms)> sleep;
  // Asked before every tick; true leaves the job where it is (nothing is half-written between
  // ticks) and the loop returns.
  std::function<bool()> stop;
};

// After StartJob: delivers ticks and the reply timer until the job is settled (pt::JobSettled),
// or until `io.stop` says so. `afterTick` runs after every tick. Returns the ticks
// delivered.
long long RunStartedJob(pt::HeadlessDialog& dlg, const LoopIo& io, const std::function<void()>& afterTick);

// True when the next tick could change something: false only while an exchange waits for a
// reply, no byte waits on the line and the reply timer has not expired.
bool TickCanProgress();

}  // namespace cli
