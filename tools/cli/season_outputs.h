#pragma once
// What the console makes of a season beyond the report: the raw archive of a download, the daily
// figures and the season page, and the samples' CSV from a season read back.
#include <string>

#include "cli_options.h"
#include "exit_status.h"
#include "season/model/season.h"

namespace cli {

// The typed start (--start YYYYMMDDhhmm) as the first sample's hour, or none.
std::optional<pt::season::CivilHour> TypedStart(const CliOptions& opts);

// Writes what the options ask for of `season`: the archive into `archiveDir` (when not empty),
// --daily and --season; prints a line for each file written. The worst status of them.
ExitStatus WriteSeasonOutputs(const CliOptions& opts, const pt::season::Season& season,
                              const std::string& archiveDir);

// The samples' CSV of a season (the rows of the download's CSV, from the season's values).
std::string FormatSeasonCsv(const pt::season::Season& season, bool byteOrderMark);

}  // namespace cli
