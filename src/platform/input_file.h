#pragma once
// A file read whole, only when it is a regular file within a size limit: a FIFO, a device or a
// folder given where a file belongs is told apart before it is read.
#include <cstddef>
#include <string>

namespace pt {

// Reads `path` whole into `bytes` when it is a regular file of at most `limit` bytes: looked at
// before it is opened, opened without waiting (a FIFO that got there in between never blocks),
// and looked at again once open. False with a message naming the file otherwise.
bool ReadInputFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error);

// The end of both systems' ReadInputFile: `why` the read's failure ("" for none), `out` what was
// read, one byte past `limit` telling a file that grew since it was looked at.
bool FinishInputRead(const std::string& path, std::size_t limit, std::string why, std::string& out,
                     std::string& bytes, std::string& error);

}  // namespace pt
