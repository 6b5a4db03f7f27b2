#pragma once
// The two timers of the main dialog, and what each of their messages does. This sits above the
// exchange and the jobs: a tick either closes the port a job's end asked to close, or steps the
// job, which steps its exchange.
#include "platform/dialog.h"

namespace pt {

// Every timer message of the main dialog comes here.
void HandleTimer(Dialog& dlg, unsigned timerId);

}  // namespace pt
