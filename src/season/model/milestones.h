#pragma once
// Where a season's accumulated water temperature gets to: the day it reaches each milestone, and
// the day its days are counted from when seasons are laid side by side by day of season.
#include <optional>
#include <vector>

#include "season/model/daily.h"

namespace pt::season {

// The first day whose running sum reaches each milestone; none for one it never reaches.
std::vector<std::optional<CivilDate>> MilestoneDates(const std::vector<DailyRow>& days,
                                                     const std::vector<double>& milestones);

// The day a season's days are counted from with CompareBy::Day: `from`, else the first complete
// day, else the first day.
std::optional<CivilDate> SeasonDayZero(const std::vector<DailyRow>& days, const DailyOptions& options);

}  // namespace pt::season
