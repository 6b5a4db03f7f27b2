#pragma once
// The daily figures of a season as CSV.
#include <string>
#include <vector>

#include "season/model/daily.h"

namespace pt::season {

inline constexpr const char* kDailyCsvHeader =
    "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n";

// UTF-8, LF line ends; the figures with one decimal rounded as the report rounds, empty cells
// where there is no figure.
std::string FormatDailyCsv(const std::vector<DailyRow>& rows, bool byteOrderMark = false);
// One row of that CSV, from its date to its line end.
void AppendDailyCsvRow(std::string& out, const DailyRow& row);

}  // namespace pt::season
