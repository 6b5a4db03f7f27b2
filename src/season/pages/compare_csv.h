#pragma once
// The daily figures of several seasons as one CSV.
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/pages/compare.h"

namespace pt::season {

inline constexpr const char* kCompareCsvHeader =
    "season,season_start,date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,"
    "hot_day,offset_c,stage\n";

// The daily figures of every season in long form, one row a season's day, seasons in turn: each
// row begins with the season's label and its first sample's date, then the daily CSV's row.
std::string FormatCompareDailyCsv(const std::vector<ComparedSeason>& seasons, const DailyOptions& options,
                                  bool byteOrderMark = false);

}  // namespace pt::season
