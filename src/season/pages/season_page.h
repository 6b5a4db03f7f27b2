#pragma once
// The season on one self-contained page: UTF-8 HTML5, no script, nothing fetched from outside it,
// printable on A4 landscape. A heading, the season's chart, the accumulated water temperature and
// the daily table.
#include <string>

#include "season/model/daily.h"
#include "season/model/season.h"

namespace pt::season {

std::string FormatSeasonPage(const Season& season, const DailyOptions& options = {});
// Written whole, or the file there before stays.
bool WriteSeasonPage(const std::string& path, const Season& season, const DailyOptions& options,
                     std::string* error);

}  // namespace pt::season
