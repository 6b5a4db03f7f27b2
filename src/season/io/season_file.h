#pragma once
// A season file of either kind the program writes, told apart by its first bytes: an archive
// begins with its magic, anything else is taken for a report.
#include <string>
#include <string_view>

#include "season/model/season.h"

namespace pt::season {

// Whether `bytes` begin as an archive does: its magic, then a space.
bool IsArchive(std::string_view bytes);

// The season in `bytes`, read as an archive or as a report by their first bytes; `archive` (when
// given) says which. False with a message naming `name`: "NAME: ..." for an archive refused, "NAME is
// neither an archive nor a tavovalu.html this program wrote: ..." for anything else.
bool ReadSeason(std::string_view bytes, const std::string& name, Season* out, std::string* error,
                UndatedSeason undated = UndatedSeason::Refuse, bool* archive = nullptr);
// The same from the file at `path`, read whole.
bool ReadSeasonFile(const std::string& path, Season* out, std::string* error,
                    UndatedSeason undated = UndatedSeason::Refuse, bool* archive = nullptr);

}  // namespace pt::season
