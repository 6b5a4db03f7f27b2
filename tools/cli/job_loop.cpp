#include "job_loop.h"

#include "logger/exchange.h"
#include "logger/tick.h"
#include "logger/job_interface.h"
#include "serial/port.h"

namespace cli {

namespace {

// The exchange's one-shot timers: the reply timer and the settle timer that holds a command
// after a late reply. The tick timer is the loop itself.
constexpr int kExchangeTimers[] = {pt::kReplyTimerId, pt::kSettleTimerId};

void DeliverDueTimers(pt::HeadlessDialog& dlg, long long now) {
  for (const int id : kExchangeTimers) {
    const long long due = dlg.TimerDeadline(id);
    if (due >= 0 && now >= due) pt::HandleTimer(dlg, static_cast<unsigned>(id));
  }
}

// The earliest deadline of the exchange's timers, or -1 when none runs.
long long NextDeadline(const pt::HeadlessDialog& dlg) {
  long long next = -1;
  for (const int id : kExchangeTimers) {
    const long long due = dlg.TimerDeadline(id);
    if (due >= 0 && (next < 0 || due < next)) next = due;
  }
  return next;
}

}  // namespace

bool TickCanProgress() {
  if (pt::ExchangeCanStep()) return true;
  // Waiting for a reply: a step helps only once bytes have come.
  pt::SerialDevice* device = pt::PortDevice();
  std::uint32_t waiting = 0;
  if (device == nullptr || !device->IsOpen() || !device->WaitingCount(waiting)) return false;
  return waiting != 0;
}

long long RunStartedJob(pt::HeadlessDialog& dlg, const LoopIo& io, const std::function<void()>& afterTick) {
  long long ticks = 0;
  for (;;) {
    DeliverDueTimers(dlg, io.now());
    if (pt::JobSettled() || (io.stop && io.stop())) return ticks;
    pt::HandleTimer(dlg, pt::kTickTimerId);
    ++ticks;
    if (afterTick) afterTick();
    if (pt::JobSettled()) return ticks;
    if (TickCanProgress()) continue;

    const long long due = NextDeadline(dlg);
    // Without a running timer nothing bounds the wait; fall back to the dialog's pace.
    const long long left = due < 0 ? static_cast<long long>(pt::kTickTimerMs) : due - io.now();
    if (left <= 0) continue;
    const int timeout = left > 60000 ? 60000 : static_cast<int>(left);
    if (!io.waitReadable || !io.waitReadable(timeout)) {
      // A line that cannot be waited on (hung up) would make the loop spin; go at the tick pace.
      if (io.sleep) io.sleep(timeout < static_cast<int>(pt::kTickTimerMs) ? timeout : static_cast<int>(pt::kTickTimerMs));
    }
  }
}

}  // namespace cli
