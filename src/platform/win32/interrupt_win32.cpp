#include <windows.h>

#include <atomic>

#include "platform/interrupt.h"
#include "platform/replacement_file.h"

namespace pt {

namespace {

std::atomic<bool> gInterrupted{false};

// Runs on a thread of its own: it only raises the flag that the job loop reads.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  gInterrupted = true;
  return TRUE;
}

// Runs on a thread of its own when nothing else took the event, just before Windows' own
// handler ends the process. The temporaries open then are marked for the system to delete as
// their handles close; this only waits out the moment in which one is not marked.
BOOL WINAPI OnEnding(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) pt::HoldReplacements();
  return FALSE;
}

}  // namespace

void CleanUpOnInterrupt() { SetConsoleCtrlHandler(OnEnding, TRUE); }

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }
bool Interrupted() { return gInterrupted; }

}  // namespace pt
