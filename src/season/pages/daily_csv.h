#pragma once
// The daily figures of a season as CSV. Every CSV of a season ends its rows with the calibration
// offset its temperatures carry: a column rather than a note above the header, so that the file
// stays one header and rows of one shape for any reader, and so that the rows of seasons with
// different offsets can stand in one file and be told apart.
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/season.h"

namespace pt::season {

inline constexpr const char* kDailyCsvHeader =
    "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n";

// UTF-8, LF line ends; the figures with one decimal rounded as the report rounds, empty cells
// where there is no figure; 1 or 0 for a complete, a cold and a hot day, empty where a day cannot
// be told cold or hot; the growth stage by its key ("booting"), empty outside every stage.
std::string FormatDailyCsv(const Season& season, const DailyOptions& options, bool byteOrderMark = false);
// One row of that CSV, from its date to its line end.
void AppendDailyCsvRow(std::string& out, const DailyRow& row, double offsetC);

}  // namespace pt::season
