#pragma once
// The cold and hot days on a page: how many, the longest spell, and when.
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/stress_days.h"

namespace pt::season {

// The season page's section: both kinds with their thresholds, how a day's mean is made, and
// what an incomplete day counts for.
void AppendStressDaysSection(std::string& out, const std::vector<DailyRow>& days, const DailyOptions& options);

// "2008-05-03〜2008-05-05" for a spell of days, the date alone for one day.
std::string SpellText(const Spell& spell);

}  // namespace pt::season
