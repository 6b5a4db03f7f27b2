#pragma once
// Delivers the fake dialog's timers to HandleTimer in time order, as the message loop would.
#include <functional>

#include "support/fake_dialog.h"

namespace pt::test {

// Moves virtual time to the earliest due timer and hands it to HandleTimer. Returns the id
// delivered, or -1 when no timer runs. Timers due at the same moment go in id order.
int DeliverNextTimer(FakeDialog& dlg);

// Delivers timers until `ticks` tick-timer expiries have been handled.
void RunTicks(FakeDialog& dlg, int ticks);

// Delivers timers until `done()` holds after a tick, at most `maxTicks` ticks. Returns the ticks
// used, or -1 when `done()` never held.
int RunTicksUntil(FakeDialog& dlg, const std::function<bool()>& done, int maxTicks);

}  // namespace pt::test
