#pragma once
// The first sample's hour as the report dates it: what the console names when a start record
// leaves the season undated.
#include "civil_calendar.h"

namespace cli {

// The date and hour of the first sample as the report decodes `startStamp`; false when the report
// refuses the stamp. Leaves the report's own state as it found it.
bool ReportStartHour(const char* startStamp, CivilHour& start);

}  // namespace cli
