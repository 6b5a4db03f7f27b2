#pragma once
// The files report and compare read: regular files no larger than a full season's, read whole.
#include <cstddef>
#include <string>

namespace cli {

// 10000 samples make an archive of about 300 KB and a report of about 450 KB; these leave room
// for longer lines (a memo or port name of escapes) without letting a stray file eat memory.
inline constexpr std::size_t kArchiveSizeLimit = std::size_t{4} << 20;
inline constexpr std::size_t kReportSizeLimit = std::size_t{8} << 20;

// Reads `path` whole into `bytes` when it is a regular file of at most `limit` bytes: looked at
// before it is opened, opened without waiting (a FIFO that got there in between never blocks),
// and looked at again once open. False with a message naming the file otherwise.
bool ReadInputFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error);

// The end of both platforms' ReadInputFile: `why` the read's failure ("" for none), `out` what
// was read, one byte past `limit` telling a file that grew since it was looked at.
bool FinishInputRead(const std::string& path, std::size_t limit, std::string why, std::string& out,
                     std::string& bytes, std::string& error);

// An input of report or compare: read as above, then held to the limit of what it is (an
// archive by its first line, or a report). `archive` tells which.
bool ReadSeasonInput(const std::string& path, std::string& bytes, bool& archive, std::string& error);

}  // namespace cli
