#pragma once
// The files a download writes, tavovalu.html in --dir and the --csv FILE: checked before the
// logger is asked anything, so that a season is not read only to be lost, and the CSV written as
// what FILE is.
#include <string>

#include "exit_status.h"

namespace cli {

// True when `a` and `b` name one file: the same device and inode where both exist, otherwise
// the same canonical folder and name (symbolic links at the final name followed first).
bool NamesSameFile(const std::string& a, const std::string& b);

// kExitOk, or the status with its message in `error`: a CSV that names the report itself (bad
// input); a report folder or a CSV folder in which no file can be created, or a CSV path that is
// neither a file, a FIFO nor a character device (file). `csv` "" is no CSV.
ExitStatus CheckDownloadOutputs(const std::string& dir, const std::string& reportPath, const std::string& csv,
                                std::string& error);

// A FIFO or a character device is opened and written as it is; anything else is replaced whole
// (a symbolic link's target, keeping a regular file's mode bits). False with the reason in `error`.
bool WriteCsvFile(const std::string& path, const std::string& content, std::string& error);

}  // namespace cli
