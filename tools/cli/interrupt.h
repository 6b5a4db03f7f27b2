#pragma once
// Ctrl-C. On a Windows console it is caught during a job and the job loop stops between two
// ticks, so no report, archive or CSV is left half-written. On POSIX, SIGINT and SIGTERM end the
// program as by default, once the temporary files of the outputs being replaced are removed.
namespace cli {

// POSIX: from here on SIGINT and SIGTERM (unless ignored when the program started) remove the
// temporary files open in this process, then end it by the same signal. Windows: nothing.
void CleanUpOnInterrupt();
// Windows: Ctrl-C from here on stops the job between two commands (Interrupted() turns true).
// POSIX: nothing; the signal ends the program.
void CatchInterrupt();
bool Interrupted();

}  // namespace cli
