#pragma once
// The page of an inlet logger and a field logger of one paddy: both hourly lines, the field's
// difference from the inlet, and the days it ran beyond a margin.
#include <cstdint>
#include <string>

#include "season/model/pair.h"
#include "season/model/season.h"
#include "season/model/stages.h"

namespace pt::season {

struct PairPageOptions {
  std::string inletName, fieldName;  // the files the seasons came from, as given
  std::int64_t marginTenths = 20;    // the days beyond ± this are listed
  StageDates stages{};               // shaded on the charts, and each listed day's stage, when given
};

// One self-contained page, as the season page is: UTF-8 HTML5, no script, A4 landscape.
std::string FormatPairPage(const Season& inlet, const Season& field, const SeasonPair& pair,
                           const PairPageOptions& options);

}  // namespace pt::season
