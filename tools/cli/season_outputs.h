#pragma once
// What the console makes of a season beyond the report: the raw archive of a download, the daily
// figures and the season page.
#include <string>

#include "commands/shared_options.h"
#include "exit_status.h"
#include "season/model/season.h"

namespace cli {

// Writes what the options ask for of `season`: the archive into `archiveDir` (when not empty),
// --daily and --season (with the --offset applied); prints a line for each file written. The worst status of them. The
// archive takes no name of an output, --csv included.
// Warns of a --from outside `season`, naming it by `label` where one is given.
void WarnOfFromOutside(const pt::season::Season& season, const pt::season::DailyOptions& figures,
                       const std::string& label = "");

// Warns of a transplanting or heading date outside `season`, naming the stages that fall inside.
void WarnOfStagesOutside(const pt::season::Season& season, const pt::season::StageDates& stages,
                         const std::string& label = "");

ExitStatus WriteSeasonOutputs(const SeasonOutputs& outputs, const std::string& csv, const pt::season::Season& season,
                              const std::string& archiveDir);

}  // namespace cli
