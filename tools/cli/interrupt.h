#pragma once
// Ctrl-C during a job. On a Windows console it is caught and the job loop stops between two
// ticks, so no report, archive or CSV is left half-written; on POSIX the signal keeps its
// default, which ends the program before any file of the download has been begun.
namespace cli {

void CatchInterrupt();
bool Interrupted();

}  // namespace cli
