#pragma once
// The samples of a season as CSV: one row per sample, one hour apart on the real calendar, the
// temperature and the no-water mark exactly as the report shows them.
#include <string>

#include "civil_calendar.h"
#include "season/model/season.h"

namespace cli {

inline constexpr const char* kCsvHeader = "time,temperature_c,no_water\n";

// The date and hour of the first sample as the report decodes `startStamp`; false when the report
// refuses the stamp. Leaves the report's own state as it found it.
bool ReportStartHour(const char* startStamp, CivilHour& start);

// The whole CSV text of a dated season: the header (after the byte-order mark, when asked) and a
// row per sample: the hour, the temperature with one decimal as the report rounds it, the
// no-water mark.
std::string FormatSampleCsv(const pt::season::Season& season, bool byteOrderMark = false);

}  // namespace cli
