#pragma once
// The season page's two inline SVG charts, drawn on one time axis so that they line up.
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/season.h"

namespace pt::season {

// The hourly line over the daily max-min band, the report's colour bands behind, no-water hours
// shaded, a date axis by 旬 and a degree axis. Nothing for a season without samples.
// With `options.dryExcluded` the line leaves out the no-water hours, as the figures do.
void AppendTemperatureChart(std::string& out, const Season& season, const std::vector<DailyRow>& days,
                            const DailyOptions& options);
// The accumulated water temperature by date, with a dashed line at each milestone it reached and
// a dot with the date where it did. Nothing when no day has a sum.
void AppendAccumulatedChart(std::string& out, const Season& season, const std::vector<DailyRow>& days,
                            const std::vector<double>& milestones);

}  // namespace pt::season
