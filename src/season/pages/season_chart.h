#pragma once
// The season page's two inline SVG charts, drawn on one time axis so that they line up.
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/season.h"

namespace pt::season {

// The hourly line over the daily max-min band, the report's colour bands behind, no-water hours
// shaded, a date axis by week or month and a degree axis. Nothing for a season without samples.
void AppendTemperatureChart(std::string& out, const Season& season, const std::vector<DailyRow>& days);
// The accumulated water temperature by date. Nothing when no day has a sum.
void AppendAccumulatedChart(std::string& out, const Season& season, const std::vector<DailyRow>& days);

}  // namespace pt::season
