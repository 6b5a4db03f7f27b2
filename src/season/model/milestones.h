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

// Milestones a season reaches at `base`: 500, 1000 and 1500 °C·days over 0 °C, fewer the higher
// the base, since each day then adds fewer degrees (300, 600, 900 over 10 °C), so that the marks
// fall inside a season whatever the base.
std::vector<double> DefaultMilestones(double base);

// The day a season's days are counted from with CompareBy::Day: `from`, else the first complete
// day, else the first day.
std::optional<CivilDate> SeasonDayZero(const std::vector<DailyRow>& days, const DailyOptions& options);

}  // namespace pt::season
