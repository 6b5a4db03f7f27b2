#pragma once
// What a front end needs to know of a path before it writes there, system by system: whether two
// names are one file, whether a name is written as it is (a FIFO, a device, a stream of this
// process) or replaced whole, and whether a file can be made beside it.
#include <string>

namespace pt {

enum class OutputKind {
  Replaced,  // a regular file, a folder or no file yet: left to the whole-file replacement
  Direct,    // a FIFO, a character device or one of this process's streams: written as it is
  Unusable,  // anything else (a socket, a block device)
};

OutputKind OutputKindOf(const std::string& path);

// True when `a` and `b` name one file: the same file where both exist, otherwise where each
// would be created.
bool NamesSameFile(const std::string& a, const std::string& b);

// The error code (SystemErrorText's) that tells why `dir` cannot hold files, 0 when it is a
// folder.
int FolderError(const std::string& dir);

// Creates and removes a temporary beside `path`, as the replacement of `path` will; false with
// the replacement's error code when it cannot.
bool CanReplace(const std::string& path, int& error);

// Writes `content` to a path of kind Direct as it is; the error code of a failure, 0 on success.
int WriteDirect(const std::string& path, const std::string& content);

// The code a failed write reports when the system named none.
int WriteFaultCode();

}  // namespace pt
