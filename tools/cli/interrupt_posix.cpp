#include <signal.h>

#include "interrupt.h"
#include "platform/replacement_file.h"

namespace cli {

namespace {

// Only async-signal-safe calls: unlink inside RemoveOpenTemporaries, signal and raise. The
// signal is held while the handler runs, so the raise is delivered, by default, on return.
void OnSignal(int number) {
  pt::RemoveOpenTemporaries();
  ::signal(number, SIG_DFL);
  ::raise(number);
}

void Catch(int number) {
  struct sigaction old {};
  // A signal ignored from the start (nohup, a background job of a plain sh) stays ignored.
  if (::sigaction(number, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaddset(&action.sa_mask, SIGINT);
  sigaddset(&action.sa_mask, SIGTERM);
  ::sigaction(number, &action, nullptr);
}

}  // namespace

void CleanUpOnInterrupt() {
  Catch(SIGINT);
  Catch(SIGTERM);
}

void CatchInterrupt() {}
bool Interrupted() { return false; }

}  // namespace cli
