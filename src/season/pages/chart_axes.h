#pragma once
// The two axes along the bottom of the program's charts: a date axis, marked by month and by ten
// days (旬), and a day axis, counted in days from a season's first day. The season page and the
// comparison page draw theirs with these, so that a month or a week looks the same on both.
#include <cstddef>
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

// Hours laid across the plot, hour 0 at `first` on the left edge and the last of `count` on the
// right; the season page's and the pair page's charts run on one.
class HourAxis {
 public:
  HourAxis(const CivilHour& first, std::size_t count)
      : first_(first), count_(count),
        step_(count_ > 1 ? (kChartRight - kChartLeft) / static_cast<double>(count_ - 1) : 0.0) {}
  // One hour has no width: it stands in the middle.
  double X(double hour) const { return count_ > 1 ? kChartLeft + hour * step_ : (kChartLeft + kChartRight) / 2; }
  double Step() const { return step_; }
  double Last() const { return count_ > 0 ? static_cast<double>(count_ - 1) : 0.0; }
  // The hour of midnight starting `date` (negative before the first hour's day began).
  double HourOf(const CivilDate& date) const {
    return static_cast<double>((DayNumber(date) - DayNumber(first_.Date())) * 24 - first_.hour);
  }
  // The day numbers of the first and the last hour.
  std::int64_t FirstDay() const { return DayNumber(first_.Date()); }
  std::int64_t LastDay() const { return FirstDay() + static_cast<std::int64_t>((first_.hour + Last()) / 24); }
  // Where day `day` begins, kept inside the plot.
  double DayStartX(std::int64_t day) const {
    const double hour = HourOf(DateOfDayNumber(day));
    return X(hour < 0 ? 0 : (hour > Last() ? Last() : hour));
  }

 private:
  CivilHour first_;
  std::size_t count_;
  double step_;
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

// The day lines of an hour axis, by 旬 or by day as DateMarksFor its length chooses.
void HourDateGrid(std::string& out, const HourAxis& time, const ValueAxis& values);

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

// The stages of the days of an hour axis behind a chart: `stageOf(day)` by day number.
template <typename StageOfDay>
void HourStageShades(std::string& out, const HourAxis& time, const ValueAxis& values, StageOfDay stageOf,
                     bool namesBelow) {
  StageShades(out, values,
              StageSpans(time.FirstDay(), time.LastDay(), stageOf, [&](std::int64_t day) { return time.DayStartX(day); }),
              namesBelow);
}

}  // namespace pt::season
