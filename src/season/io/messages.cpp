#include "season/io/messages.h"

namespace pt::season {

constinit const std::string_view kReportCaptionHead = "    ************** 水温測定結果[℃]　開始時刻[";

}  // namespace pt::season
