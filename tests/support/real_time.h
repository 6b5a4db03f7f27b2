#pragma once
// Drives the fake dialog's timers on the real clock, for tests and benchmarks that talk to a real
// line: each timer is delivered to HandleTimer when it falls due, as the message loop would.
#include <functional>

#include "support/fake_dialog.h"

namespace pt::test {

// Milliseconds of std::chrono::steady_clock, in the unit of the fake dialog's clock. (A count, so
// that the tests that compare Shift-JIS literals can include this without <chrono>.)
long long MonotonicNowMs();

// Delivers timers until `done()` holds after a delivery (true), no timer runs or `limitMs` of
// real time have passed (false). `onTick` is called after every tick of the tick timer.
bool RunOnRealClock(FakeDialog& dlg, const std::function<bool()>& done, long long limitMs,
                    const std::function<void()>& onTick = nullptr);

}  // namespace pt::test
