#pragma once
// The samples of a season as CSV: one row per sample, one hour apart on the real calendar, the
// temperature and the no-water mark exactly as the report shows them.
#include <string>

#include "season/model/season.h"

namespace pt::season {

inline constexpr const char* kSampleCsvHeader = "time,temperature_c,no_water,offset_c\n";

// The whole CSV text of a dated season: the header (after the byte-order mark, when asked) and a
// row per sample: the hour, the temperature with one decimal as the report rounds it, the
// no-water mark, the calibration offset the temperature carries (see daily_csv.h).
std::string FormatSampleCsv(const Season& season, bool byteOrderMark = false);

}  // namespace pt::season
