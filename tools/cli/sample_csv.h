#pragma once
// The downloaded samples as CSV: one row per sample, one hour apart on the real calendar, the
// temperature and the no-water mark exactly as the report shows them.
#include <cstdint>
#include <string>

#include "civil_calendar.h"

namespace cli {

inline constexpr const char* kCsvHeader = "time,temperature_c,no_water\n";

// The date and hour of the first sample as the report decodes `startStamp`; false when the report
// refuses the stamp. Leaves the report's own state as it found it.
bool ReportStartHour(const char* startStamp, CivilHour& start);

// The whole CSV text: the header (after the byte-order mark, when asked) and `count` rows from
// sample 0. `start` must be a real hour.
std::string FormatSampleCsv(const CivilHour& start, const std::uint32_t* sampleTable, int count,
                            bool byteOrderMark = false);
// One row: the hour, the temperature with one decimal as the report rounds it, the no-water mark.
void AppendSampleRow(std::string& out, const CivilHour& at, double temperature, bool noWater);

}  // namespace cli
