#pragma once
// The season read by growth stage on the season page: each stage's days and temperatures, and the
// water-temperature sum from heading.
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/season.h"

namespace pt::season {

// The sums from heading whose dates the page gives, in °C·日 over 0 °C.
inline constexpr double kHeadingSums[] = {900.0, 1000.0, 1100.0};

// Nothing without a transplanting or heading date. A stage the season does not reach is named
// as outside the record, so that a reader knows it was not left out by mistake.
void AppendStagesSection(std::string& out, const Season& season, const std::vector<DailyRow>& days,
                         const DailyOptions& options);

}  // namespace pt::season
