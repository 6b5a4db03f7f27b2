#pragma once
// A season from a "tavovalu.html" this program wrote: the start from its caption, every sample
// cell's value and "*", the "---" cells before the start skipped. The values are the report's
// rounded ones; the words and the memo are not in the report and stay unknown.
#include <string>
#include <string_view>

#include "season/model/season.h"

namespace pt::season {

// `bytes` as the report writer leaves them (Shift-JIS, LF line ends; CR LF is taken too). A file
// laid out in any other way is refused with "line N: ..." naming the first line that is not.
bool ReadReport(std::string_view bytes, Season* out, std::string* error);
bool ReadReportFile(const std::string& path, Season* out, std::string* error);

}  // namespace pt::season
