#pragma once
// The season on one self-contained page: UTF-8 HTML5, no script, nothing fetched from outside it,
// printable on A4 landscape. A heading, the season's chart, the accumulated water temperature with
// its milestones, the cold and hot days, and the daily table a month to a block.
#include <optional>
#include <string>
#include <vector>

#include "season/model/daily.h"
#include "season/model/season.h"

namespace pt::season {

// `milestones`: the accumulated temperatures whose dates the page gives; none for the defaults
// of the base in use.
std::string FormatSeasonPage(const Season& season, const DailyOptions& options = {},
                             const std::optional<std::vector<double>>& milestones = std::nullopt);
// Written whole, or the file there before stays.
bool WriteSeasonPage(const std::string& path, const Season& season, const DailyOptions& options,
                     std::string* error, const std::optional<std::vector<double>>& milestones = std::nullopt);

}  // namespace pt::season
