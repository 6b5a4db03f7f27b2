#pragma once
// The raw archive of a download: every reply as the logger sent it, with the figures taken from
// each, the readout's circumstances and a checksum, in a line-oriented text of our own
// (docs/archive-format.md). A season read from one is exactly the season that was written.
#include <string>
#include <string_view>

#include "platform/local_time.h"
#include "season/model/season.h"

namespace pt::season {

inline constexpr const char* kArchiveMagic = "paddytherm-archive";
// The newest version, written for an undated season. A dated season is written as version 2 when
// the readout holds a read of the logger's clock, and as version 1 without one (read from a
// version 1 archive), as older programs wrote and read them.
inline constexpr int kArchiveVersion = 3;

// "paddytherm-YYYYMMDD-hhmmss.ptlog" for a readout at local time `t`.
std::string ArchiveFileName(const LocalTime& t);

// The archive's text. The season needs its replies and readout, and a word for every sample;
// false with a message otherwise.
bool FormatArchive(const Season& season, std::string* text, std::string* error);
// Writes the archive whole to `path`, or leaves the file there as it was.
bool WriteArchiveFile(const std::string& path, const Season& season, std::string* error);

// The season an archive holds. Refuses, with "line N: ..." naming the first line that is wrong,
// an archive with a malformed line (any field not as the writer spells it), a reply that does not
// give the figure written beside it, a checksum that does not match, or no end line (cut short);
// `out` is then left alone. An undated archive is refused unless `undated` keeps it.
bool ReadArchive(std::string_view bytes, Season* out, std::string* error,
                 UndatedSeason undated = UndatedSeason::Refuse);
bool ReadArchiveFile(const std::string& path, Season* out, std::string* error,
                     UndatedSeason undated = UndatedSeason::Refuse);

}  // namespace pt::season
