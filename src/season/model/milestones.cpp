#include "season/model/milestones.h"

#include <algorithm>
#include <cmath>

namespace pt::season {

std::vector<std::optional<CivilDate>> MilestoneDates(const std::vector<DailyRow>& days,
                                                     const std::vector<double>& milestones) {
  std::vector<std::optional<CivilDate>> dates(milestones.size());
  for (std::size_t m = 0; m < milestones.size(); ++m) {
    for (const DailyRow& d : days) {
      if (d.accumulated && *d.accumulated >= milestones[m]) {
        dates[m] = d.date;
        break;
      }
    }
  }
  return dates;
}

std::vector<double> DefaultMilestones(double base) {
  // A paddy's water averages about 23 °C over a season; a step of 500 at base 0 shrinks with what
  // a day adds above the base, to a round 50.
  constexpr double kSeasonMean = 23.0;
  const double step = std::max(50.0, std::round(500.0 * (kSeasonMean - base) / kSeasonMean / 50.0) * 50.0);
  return {step, 2 * step, 3 * step};
}

std::optional<CivilDate> SeasonDayZero(const std::vector<DailyRow>& days, const DailyOptions& options) {
  if (options.from) return options.from;
  for (const DailyRow& d : days) {
    if (d.hours == 24) return d.date;
  }
  if (!days.empty()) return days.front().date;
  return std::nullopt;
}

}  // namespace pt::season
