#pragma once
// Several seasons side by side (paddies, years): their daily means and accumulated water
// temperature overlaid on one page, and the day each sum reaches its milestones.
#include <optional>
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/milestones.h"
#include "season/model/season.h"

namespace pt::season {

struct ComparedSeason {
  std::string label;  // unique among the seasons compared (SeasonLabels)
  Season season;      // with its calibration offset applied
  StageDates stages{};  // this season's transplanting and heading, for its days' stages
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

// One self-contained page, as the season page is: UTF-8 HTML5, no script, A4 landscape.
std::string FormatComparePage(const std::vector<ComparedSeason>& seasons, const CompareOptions& options);

}  // namespace pt::season
