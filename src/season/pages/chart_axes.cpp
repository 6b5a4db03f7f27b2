#include "season/pages/chart_axes.h"

#include <algorithm>
#include <cmath>

#include "season/pages/page_text.h"

namespace pt::season {

void DateMark(std::string& out, const ValueAxis& values, DateMarks marks, const CivilDate& d, double x) {
  const bool tens = d.day == 11 || d.day == 21;
  if (d.day == 1) {
    Line(out, x, values.Top(), x, values.Bottom() + 5, "major");
    Text(out, x + 4, values.Bottom() + 17, "start", std::to_string(d.month) + U8(u8"月"));
  } else if (marks == DateMarks::MonthsAndTens) {
    if (tens) Line(out, x, values.Top(), x, values.Bottom(), "grid");
  } else if (tens) {
    Line(out, x, values.Top(), x, values.Bottom() + 5, "major");
    Text(out, x, values.Bottom() + 17, "middle", std::to_string(d.month) + "/" + std::to_string(d.day));
  } else {
    Line(out, x, values.Top(), x, values.Bottom(), "grid");
  }
}

void DayNumberGrid(std::string& out, const DayAxis& days, const ValueAxis& values) {
  const double step = std::max(1.0, NiceStep(days.Last() - days.First()));
  for (double d = std::ceil(days.First() / step) * step; d <= days.Last(); d += step) {
    const double x = days.X(d);
    Line(out, x, values.Top(), x, values.Bottom() + 5, "grid");
    // A label at the right edge would run off the chart: it ends there instead.
    const bool edge = x > kChartRight - 20;
    Text(out, edge ? kChartRight : x, values.Bottom() + 17, edge ? "end" : "middle", DayCountText(std::llround(d)));
  }
}

std::string DayCountText(long long day) {
  // A farmer counts the first day as day one; a day before it (a season begun before --from) is
  // so many days before that first day.
  return day >= 0 ? std::to_string(day + 1) + U8(u8"日目") : std::to_string(-day) + U8(u8"日前");
}

}  // namespace pt::season
