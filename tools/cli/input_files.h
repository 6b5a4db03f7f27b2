#pragma once
// The files report, compare and pair read: regular files no larger than a full season's, read whole.
#include <cstddef>
#include <string>

#include "season/model/season.h"

namespace cli {

// 10000 samples make an archive of about 300 KB and a report of about 450 KB; these leave room
// for longer lines (a memo or port name of escapes) without letting a stray file eat memory.
inline constexpr std::size_t kArchiveSizeLimit = std::size_t{4} << 20;
inline constexpr std::size_t kReportSizeLimit = std::size_t{8} << 20;

// An input of report or compare: read whole as a regular file, then held to the limit of what it
// is (an archive by its first line, or a report). `archive` tells which.
bool ReadSeasonInput(const std::string& path, std::string& bytes, bool& archive, std::string& error);

// An input of compare or pair read as above and then as the archive or report it is; the
// refusal names the file.
bool ReadSeasonFromInput(const std::string& path, pt::season::Season* season, std::string* error);

}  // namespace cli
