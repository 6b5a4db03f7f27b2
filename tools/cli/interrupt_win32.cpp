#include <windows.h>

#include <atomic>

#include "interrupt.h"

namespace cli {

namespace {

std::atomic<bool> gInterrupted{false};

// Runs on a thread of its own: it only raises the flag that the job loop reads.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  gInterrupted = true;
  return TRUE;
}

}  // namespace

// Ctrl-C outside a job ends the program by default; a temporary of a report, page or CSV being
// replaced at that moment is left beside it (the file it would replace stays whole).
void CleanUpOnInterrupt() {}

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }
bool Interrupted() { return gInterrupted; }

}  // namespace cli
