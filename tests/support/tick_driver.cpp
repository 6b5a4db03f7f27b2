#include "support/tick_driver.h"

#include "logger/exchange.h"
#include "logger/tick.h"

namespace pt::test {

int DeliverNextTimer(FakeDialog& dlg) {
  if (dlg.timers.empty()) return -1;
  auto next = dlg.timers.begin();
  for (auto it = dlg.timers.begin(); it != dlg.timers.end(); ++it) {
    if (it->second.due < next->second.due) next = it;
  }
  const int id = next->first;
  if (next->second.due > dlg.now) dlg.now = next->second.due;
  // A Win32 timer keeps firing at its period until it is stopped.
  next->second.due = dlg.now + next->second.period;
  HandleTimer(dlg, static_cast<unsigned>(id));
  return id;
}

void RunTicks(FakeDialog& dlg, int ticks) {
  while (ticks > 0) {
    const int id = DeliverNextTimer(dlg);
    if (id < 0) return;
    if (id == kTickTimerId) --ticks;
  }
}

int RunTicksUntil(FakeDialog& dlg, const std::function<bool()>& done, int maxTicks) {
  for (int used = 0; used < maxTicks;) {
    const int id = DeliverNextTimer(dlg);
    if (id < 0) return -1;
    if (id != kTickTimerId) continue;
    ++used;
    if (done()) return used;
  }
  return -1;
}

}  // namespace pt::test
