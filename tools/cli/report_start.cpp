#include "report_start.h"

#include "report/samples.h"

namespace cli {

bool ReportStartHour(const char* startStamp, CivilHour& start) {
  const pt::DecodedStamp stamp = pt::DecodeStartStamp(startStamp);
  start = {stamp.date.year, stamp.date.month, stamp.date.day, stamp.date.hour};
  return stamp.result == 0;
}

}  // namespace cli
