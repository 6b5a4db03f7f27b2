#pragma once
// The real Gregorian calendar of the season library, for the CSV's time column and for checking a
// typed start. (The report keeps its own month table without leap years.)
#include "season/model/calendar.h"

namespace cli {

using pt::season::AddHours;
using pt::season::CivilHour;
using pt::season::DaysInMonth;
using pt::season::IsLeapYear;
using pt::season::IsRealHour;

}  // namespace cli
