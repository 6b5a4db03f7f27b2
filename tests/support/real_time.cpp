#include "support/real_time.h"

// Only the POSIX tests talk to a real line.
#ifndef _WIN32

#include <time.h>

#include <chrono>

#include "logger/exchange.h"
#include "support/tick_driver.h"

namespace pt::test {

long long MonotonicNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool RunOnRealClock(FakeDialog& dlg, const std::function<bool()>& done, long long limitMs,
                    const std::function<void()>& onTick) {
  const long long begin = MonotonicNowMs() - dlg.now;  // the virtual clock goes on from where it is
  const long long end = MonotonicNowMs() + limitMs;
  while (MonotonicNowMs() < end) {
    long long due = -1;
    for (const auto& [id, t] : dlg.timers) {
      if (due < 0 || t.due < due) due = t.due;
    }
    if (due < 0) return false;
    const long long wait = due - (MonotonicNowMs() - begin);
    if (wait > 0) {
      const timespec ts{static_cast<time_t>(wait / 1000), static_cast<long>((wait % 1000) * 1000000)};
      nanosleep(&ts, nullptr);
    }
    const int id = DeliverNextTimer(dlg);
    dlg.now = MonotonicNowMs() - begin;
    if (id == kTickTimerId && onTick) onTick();
    if (done()) return true;
  }
  return false;
}

}  // namespace pt::test

#endif  // _WIN32
