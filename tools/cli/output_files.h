#pragma once
// The files the console writes: tavovalu.html in --dir and the --csv FILE checked before the
// logger is asked anything, so that a season is not read only to be lost; every output written as
// what its path is. The rules are these, once; what differs per system is in platform/output_file.h.
#include <string>

#include "exit_status.h"
#include "platform/output_file.h"

namespace cli {

using pt::NamesSameFile;

// True when `path` is a FIFO or a character device, which is written as it is, never replaced.
bool WrittenDirectly(const std::string& path);

// Makes the folder `dir` with the folders above it, as far as they are missing ("" is here).
// kExitOk, or kExitFile with its message in `error`.
ExitStatus MakeOutputFolder(const std::string& dir, std::string& error);

// kExitOk, or kExitFile with its message in `error`: a report folder or a CSV folder in which no
// file can be created, or a CSV path that is neither a file, a FIFO nor a character device.
// `csv` "" is no CSV. (A CSV that is the report is refused with the other clashes.)
ExitStatus CheckDownloadOutputs(const std::string& dir, const std::string& reportPath, const std::string& csv,
                                std::string& error);

// A FIFO or a character device is opened and written as it is; a regular file or none is replaced
// whole (a symbolic link's target, keeping a regular file's mode bits); anything else is refused.
// False with the reason in `error`.
bool WriteOutputFile(const std::string& path, const std::string& content, std::string& error);

// One output of a command written as above: "LINE: PATH" on standard output when it is, or "no
// WHAT written: why" and `status` kExitFile when it is not; nothing for an empty path. `line` is
// what scripts read ("daily"), `what` what a person does ("daily figures").
void WriteNamedOutput(const char* line, const char* what, const std::string& path, const std::string& content,
                      ExitStatus& status);

}  // namespace cli
