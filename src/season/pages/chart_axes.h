#pragma once
// The two axes along the bottom of the program's charts: a date axis, marked by month and by ten
// days (旬), and a day axis, counted in days from a season's first day. The season page and the
// comparison page draw theirs with these, so that a month or a week looks the same on both.
#include <cstdint>
#include <string>
#include <vector>

#include "season/model/calendar.h"
#include "season/model/stages.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

// Days (fractions allowed) laid across the plot, `first` at its left edge and `last` at its right.
class DayAxis {
 public:
  DayAxis(double first, double last) : first_(first), last_(last > first ? last : first + 1) {}
  double X(double day) const { return kChartLeft + (day - first_) / (last_ - first_) * (kChartRight - kChartLeft); }
  double First() const { return first_; }
  double Last() const { return last_; }

 private:
  double first_, last_;
};

// How a date axis marks its days: by 旬, the thirds of a month a grower plans by.
enum class DateMarks {
  MonthsAndTens,  // the 1st of each month a strong line with its name, the 11th and 21st faint ones
  TensAndDays,    // for a short season: the 1st, 11th and 21st strong lines with their dates, every day faint
  Days,           // for a few days: every day a line with its date
};

// The marks for an axis `days` long: by month past a month, by 旬 past twelve days, else by day.
DateMarks DateMarksFor(double days);

// The mark of date `d` at `x` on a date axis under the plot of `values`; nothing for a date that
// the marks pass over.
void DateMark(std::string& out, const ValueAxis& values, DateMarks marks, const CivilDate& d, double x);

// A line at every step of about a sixth of `days`, day 0 included, with the day as counted in the
// field: day 0 is "1日目", day 30 "31日目", day -3 "3日前".
void DayNumberGrid(std::string& out, const DayAxis& days, const ValueAxis& values);

// Day `day` after a season's day zero as DayNumberGrid labels it.
std::string DayCountText(long long day);

// A run of days in one growth stage, from x0 to x1 across a chart.
struct StageSpan {
  Stage stage;
  double x0, x1;
};

// The runs of days firstDay..lastDay (day numbers) in a stage: `stageOf(day)` gives a day's stage,
// `startX(day)` the x where it begins (kept inside the plot by the caller).
template <typename StageOfDay, typename DayStartX>
std::vector<StageSpan> StageSpans(std::int64_t firstDay, std::int64_t lastDay, StageOfDay stageOf, DayStartX startX) {
  std::vector<StageSpan> spans;
  for (std::int64_t day = firstDay; day <= lastDay;) {
    const Stage stage = stageOf(day);
    std::int64_t end = day;
    while (end + 1 <= lastDay && stageOf(end + 1) == stage) ++end;
    if (stage != Stage::None) spans.push_back({stage, startX(day), startX(end + 1)});
    day = end + 1;
  }
  return spans;
}

// The stages behind a chart's lines: each span a shade, darker and lighter in turn so that stages
// side by side stay apart, named at the top of the plot or, with `namesBelow`, along its foot.
void StageShades(std::string& out, const ValueAxis& values, const std::vector<StageSpan>& spans, bool namesBelow);

}  // namespace pt::season
