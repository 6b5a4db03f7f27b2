#pragma once
// The exit status of paddytherm-cli: one number for each kind of failure, so that a script can
// tell a missing cable from a full disk without reading the messages.
namespace cli {

enum ExitStatus : int {
  kExitOk = 0,
  kExitOther = 1,      // anything not listed below (out of memory, a failed conversion set-up)
  kExitBadInput = 2,   // usage, a bad clock text, --start or memo, clashing files, unfit inputs
  kExitPort = 3,       // the port could not be opened or configured, or a command not sent
  kExitNoReply = 4,    // the logger did not answer, even after the one resend
  kExitRefused = 5,    // the logger answered, but not with LF "OK"
  kExitFile = 6,       // the report or the CSV could not be written
  kExitData = 7,       // the logger's start record or pointer cannot be used for a report
  kExitInterrupted = 130,  // Ctrl-C on a Windows console, between two steps of the job
};

}  // namespace cli
