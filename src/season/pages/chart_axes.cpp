#include "season/pages/chart_axes.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "season/pages/page_text.h"

namespace pt::season {

namespace {

// A date's label under the axis, kept inside the chart's width.
void DateLabel(std::string& out, const ValueAxis& values, double x, bool after, const std::string& text) {
  const double y = values.Bottom() + 17;
  if (after && x + 40 > kChartRight) {
    Text(out, x - 4, y, "end", text);
  } else if (after) {
    Text(out, x + 4, y, "start", text);
  } else if (x > kChartRight - 20) {
    Text(out, kChartRight, y, "end", text);
  } else if (x < kChartLeft + 20) {
    Text(out, kChartLeft, y, "start", text);
  } else {
    Text(out, x, y, "middle", text);
  }
}

}  // namespace

void DateMark(std::string& out, const ValueAxis& values, DateMarks marks, const CivilDate& d, double x) {
  const bool tens = d.day == 11 || d.day == 21;
  const std::string monthDay = std::to_string(d.month) + "/" + std::to_string(d.day);
  if (marks == DateMarks::Days) {
    Line(out, x, values.Top(), x, values.Bottom() + 5, d.day == 1 ? "major" : "grid");
    DateLabel(out, values, x, false, monthDay);
  } else if (d.day == 1) {
    Line(out, x, values.Top(), x, values.Bottom() + 5, "major");
    DateLabel(out, values, x, true, std::to_string(d.month) + U8(u8"月"));
  } else if (marks == DateMarks::MonthsAndTens) {
    if (tens) Line(out, x, values.Top(), x, values.Bottom(), "grid");
  } else if (tens) {
    Line(out, x, values.Top(), x, values.Bottom() + 5, "major");
    DateLabel(out, values, x, false, monthDay);
  } else {
    Line(out, x, values.Top(), x, values.Bottom(), "grid");
  }
}

void StageShades(std::string& out, const ValueAxis& values, const std::vector<StageSpan>& spans, bool namesBelow) {
  bool dark = false;
  for (const StageSpan& span : spans) {
    const double x1 = std::max(span.x1, span.x0 + 1.0);
    Rect(out, span.x0, values.Top(), x1, values.Bottom(), dark ? "class=\"stage dark\"" : "class=\"stage\"");
    // A name wider than its stage would run into the next one's or off the chart: the shade and
    // the table beside say it then.
    const double width = 12.0 * static_cast<double>(std::string_view(StageNameJa(span.stage)).size() / 3) + 4.0;
    if (x1 - span.x0 >= width) {
      Text(out, (span.x0 + x1) / 2, namesBelow ? values.Bottom() - 5 : values.Top() + 13, "middle",
           StageNameJa(span.stage));
    }
    dark = !dark;
  }
}

void HourDateGrid(std::string& out, const HourAxis& time, const ValueAxis& values) {
  const DateMarks marks = DateMarksFor(static_cast<double>(time.LastDay() - time.FirstDay()));
  for (std::int64_t day = time.FirstDay(); day <= time.LastDay() + 1; ++day) {
    const CivilDate d = DateOfDayNumber(day);
    const double hour = time.HourOf(d);
    if (hour < 0 || hour > time.Last()) continue;
    DateMark(out, values, marks, d, time.X(hour));
  }
}

DateMarks DateMarksFor(double days) {
  if (days > 31) return DateMarks::MonthsAndTens;
  return days > 12 ? DateMarks::TensAndDays : DateMarks::Days;
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
