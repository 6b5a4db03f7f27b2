#include <signal.h>

#include "platform/interrupt.h"
#include "platform/replacement_file.h"

namespace pt {

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
  for (const int other : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&action.sa_mask, other);
  ::sigaction(number, &action, nullptr);
}

}  // namespace

// SIGHUP is what a closed terminal or a dropped ssh session sends, SIGQUIT is Ctrl-\.
void CleanUpOnInterrupt() {
  for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) Catch(number);
}

void CatchInterrupt() {}
bool Interrupted() { return false; }

}  // namespace pt
