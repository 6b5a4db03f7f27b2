#pragma once
// Ctrl-C. On a Windows console it is caught during a job and the job loop stops between two
// ticks, so no report, archive or CSV is left half-written. Elsewhere it ends the program as by
// default, and the temporary files of the outputs being replaced at that moment go with it: on
// POSIX (SIGINT, SIGTERM, SIGHUP, SIGQUIT) a handler removes them; on Windows the system deletes
// them as their handles close, which it does however the process ends.
namespace pt {

// POSIX: from here on SIGINT, SIGTERM, SIGHUP and SIGQUIT (unless ignored when the program
// started) remove the temporary files open in this process, then end it by the same signal. Windows: from here on
// Ctrl-C, Ctrl-Break and a closed console end the program only once no temporary is between its
// creation and its mark for deletion, or between the commit's taking the mark back and its
// rename.
void CleanUpOnInterrupt();
// Windows: Ctrl-C from here on stops the job between two commands (Interrupted() turns true).
// POSIX: nothing; the signal ends the program.
void CatchInterrupt();
bool Interrupted();

}  // namespace pt
