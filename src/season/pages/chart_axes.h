#pragma once
// The two axes along the bottom of the program's charts: a date axis, marked by month and by ten
// days (旬), and a day axis, counted in days from a season's first day. The season page and the
// comparison page draw theirs with these, so that a month or a week looks the same on both.
#include <string>

#include "season/model/calendar.h"
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

}  // namespace pt::season
