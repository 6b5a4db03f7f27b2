#pragma once
// The days an inlet logger and a field logger both have whole, as one CSV.
#include <cstdint>
#include <string>

#include "season/model/pair.h"

namespace pt::season {

inline constexpr const char* kPairCsvHeader = "date,inlet_mean_c,field_mean_c,difference_c\n";

// One row a day complete in both: the two means as the daily CSV writes a mean, and the field's
// exact mean minus the inlet's rounded half up to a tenth.
std::string FormatPairDailyCsv(const SeasonPair& pair, bool byteOrderMark = false);

// Tenths as "-2.2", "0.3", "0.0", from the exact count rather than through a double.
std::string TenthsText(std::int64_t tenths);

}  // namespace pt::season
