#include "season/model/milestones.h"

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

std::optional<CivilDate> SeasonDayZero(const std::vector<DailyRow>& days, const DailyOptions& options) {
  if (options.from) return options.from;
  for (const DailyRow& d : days) {
    if (d.hours == 24) return d.date;
  }
  if (!days.empty()) return days.front().date;
  return std::nullopt;
}

}  // namespace pt::season
