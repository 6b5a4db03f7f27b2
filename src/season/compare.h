#pragma once
// Several seasons side by side (paddies, years): their daily means and accumulated water
// temperature overlaid on one page, and the day each sum reaches its milestones.
#include <optional>
#include <string>
#include <vector>

#include "season/daily.h"
#include "season/season.h"

namespace pt::season {

struct ComparedSeason {
  std::string label;  // the memo, or the file's name where the memo is blank
  Season season;
};

enum class CompareBy {
  Date,  // by month and day, so that years overlay
  Day,   // by day of season: days since `from`, or since the first complete day
};

struct CompareOptions {
  CompareBy by = CompareBy::Date;
  DailyOptions daily;
  std::vector<double> milestones{500.0, 1000.0, 1500.0};  // accumulated degree-days
};

// The first day whose running sum reaches each milestone; none for one it never reaches.
std::vector<std::optional<CivilDate>> MilestoneDates(const std::vector<DailyRow>& days,
                                                     const std::vector<double>& milestones);

// The day a season's days are counted from with CompareBy::Day: `from`, else the first complete
// day, else the first day.
std::optional<CivilDate> SeasonDayZero(const std::vector<DailyRow>& days, const DailyOptions& options);

inline constexpr const char* kCompareCsvHeader =
    "season,date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n";

// The daily figures of every season in long form, one row a season's day, seasons in turn.
std::string FormatCompareDailyCsv(const std::vector<ComparedSeason>& seasons, const DailyOptions& options,
                                  bool byteOrderMark = false);

// One self-contained page, as the season page is: UTF-8 HTML5, no script, A4 landscape.
std::string FormatComparePage(const std::vector<ComparedSeason>& seasons, const CompareOptions& options);

}  // namespace pt::season
