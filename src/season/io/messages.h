#pragma once
// The fixed Shift-JIS texts of the season's io: those of the report it reads back. They live in
// messages.cpp, the one file of this folder that needs the Shift-JIS execution character set.
#include <string_view>

namespace pt::season {

// The report's caption line up to the start's year.
extern const std::string_view kReportCaptionHead;

}  // namespace pt::season
