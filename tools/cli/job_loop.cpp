#include "job_loop.h"

#include "logger/exchange.h"
#include "logger/tick.h"
#include "logger/jobs.h"
#include "serial/port.h"

namespace cli {

namespace {

bool JobFinished() {
  const pt::SerialDevice* device = pt::PortDevice();
  return pt::Jobs.BusyFlag == 0 && pt::Port.ClosePortFlag == 0 && (device == nullptr || !device->IsOpen());
}

void DeliverDueReplyTimer(ConsoleDialog& dlg, long long now) {
  const long long due = dlg.TimerDeadline(pt::kReplyTimerId);
  if (due >= 0 && now >= due) pt::HandleTimer(dlg, pt::kReplyTimerId);
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

long long RunStartedJob(ConsoleDialog& dlg, const LoopIo& io, const std::function<void()>& afterTick) {
  long long ticks = 0;
  for (;;) {
    DeliverDueReplyTimer(dlg, io.now());
    if (JobFinished() || (io.stop && io.stop())) return ticks;
    pt::HandleTimer(dlg, pt::kTickTimerId);
    ++ticks;
    if (afterTick) afterTick();
    if (JobFinished()) return ticks;
    if (TickCanProgress()) continue;

    const long long due = dlg.TimerDeadline(pt::kReplyTimerId);
    // Without a running reply timer nothing bounds the wait; fall back to the dialog's pace.
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
