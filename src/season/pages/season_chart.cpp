#include "season/pages/season_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report/samples.h"
#include "season/pages/chart_axes.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

namespace {

// Where sample hours go across the chart; both charts share it.
class TimeAxis {
 public:
  explicit TimeAxis(const Season& s)
      : start_(s.start), count_(s.samples.size()),
        step_(count_ > 1 ? (kChartRight - kChartLeft) / static_cast<double>(count_ - 1) : 0.0) {}
  double X(double hourIndex) const { return kChartLeft + hourIndex * step_; }
  double Step() const { return step_; }
  // The hour index of midnight starting `date`.
  double HourOf(const CivilDate& date) const {
    return static_cast<double>((DayNumber(date) - DayNumber(start_.Date())) * 24 - start_.hour);
  }
  double Last() const { return count_ > 0 ? static_cast<double>(count_ - 1) : 0.0; }
  const CivilHour& Start() const { return start_; }

 private:
  CivilHour start_;
  std::size_t count_;
  double step_;
};

// Day lines: by month for a long season (every week a faint line), by week for a short one.
void DateGrid(std::string& out, const TimeAxis& time, const ValueAxis& axis) {
  const CivilHour& start = time.Start();
  const std::int64_t first = DayNumber(start.Date());
  const std::int64_t last = first + static_cast<std::int64_t>((start.hour + time.Last()) / 24);
  const DateMarks marks = last - first > 62 ? DateMarks::MonthsAndWeeks : DateMarks::Weeks;
  for (std::int64_t day = first; day <= last + 1; ++day) {
    const CivilDate d = DateOfDayNumber(day);
    const double hour = time.HourOf(d);
    if (hour < 0 || hour > time.Last()) continue;
    DateMark(out, axis, marks, d, time.X(hour));
  }
}

}  // namespace

void AppendTemperatureChart(std::string& out, const Season& season, const std::vector<DailyRow>& days) {
  if (season.samples.empty()) return;
  const TimeAxis time(season);
  double low = season.samples[0].temperature, high = low;
  for (const Sample& s : season.samples) {
    low = std::min(low, s.temperature);
    high = std::max(high, s.temperature);
  }
  const ValueAxis axis(low, high, 24.0, 330.0, 5.0);
  OpenSvg(out, 360.0, U8(u8"水温の推移"));

  // The report's bands behind everything, each in the colour HeatColour gives its temperatures.
  double bandLow = axis.Low();
  for (std::size_t i = 0; i <= std::size(kHeatBandEdges); ++i) {
    const double bandHigh = i < std::size(kHeatBandEdges) ? std::min(kHeatBandEdges[i], axis.High()) : axis.High();
    if (bandHigh > bandLow) {
      const std::string fill = std::string("class=\"band\" fill=\"") + HeatColour(bandLow) + "\"";
      Rect(out, kChartLeft, axis.Y(bandHigh), kChartRight, axis.Y(bandLow), fill.c_str());
    }
    bandLow = std::max(bandLow, bandHigh);
  }

  // No-water hours, one shade for each run of them.
  const double half = time.Step() / 2;
  for (std::size_t i = 0; i < season.samples.size();) {
    if (!season.samples[i].noWater) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j + 1 < season.samples.size() && season.samples[j + 1].noWater) ++j;
    const double x0 = std::max(kChartLeft, time.X(static_cast<double>(i)) - half);
    const double x1 = std::min(kChartRight, time.X(static_cast<double>(j)) + std::max(half, 0.5));
    Rect(out, x0, axis.Top(), x1, axis.Bottom(), "class=\"dry\"");
    i = j + 1;
  }

  ValueGrid(out, axis, U8(u8"水温 [℃]"));
  DateGrid(out, time, axis);

  // The daily max-min band through each day's middle hour.
  std::vector<std::pair<double, const DailyRow*>> middles;
  double dayStart = 0.0;
  for (const DailyRow& d : days) {
    const double middle = dayStart + (d.hours - 1) / 2.0;
    if (d.maximum && d.minimum) middles.emplace_back(time.X(middle), &d);
    dayStart += d.hours;
  }
  if (!middles.empty()) {
    out += "<path class=\"range\" d=\"";
    char command = 'M';
    for (const auto& [x, d] : middles) {
      Point(out, command, x, axis.Y(*d->maximum));
      command = 'L';
    }
    for (auto it = middles.rbegin(); it != middles.rend(); ++it) Point(out, 'L', it->first, axis.Y(*it->second->minimum));
    out += "Z\"/>\n";
  }

  // The hourly line, one path for the whole season.
  out += "<path class=\"hourly\" d=\"";
  for (std::size_t i = 0; i < season.samples.size(); ++i) {
    Point(out, i == 0 ? 'M' : (i == 1 ? 'L' : ' '), time.X(static_cast<double>(i)), axis.Y(season.samples[i].temperature));
  }
  out += "\"/>\n";
  Frame(out, axis);
  out += "</svg>\n";
}

void AppendAccumulatedChart(std::string& out, const Season& season, const std::vector<DailyRow>& days) {
  double low = 0.0, high = 0.0;
  bool any = false;
  for (const DailyRow& d : days) {
    if (!d.accumulated) continue;
    low = std::min(low, *d.accumulated);
    high = std::max(high, *d.accumulated);
    any = true;
  }
  if (!any || season.samples.empty()) return;
  const TimeAxis time(season);
  const ValueAxis axis(low, high, 24.0, 210.0, NiceStep(high - low));
  OpenSvg(out, 240.0, U8(u8"積算水温の推移"));
  ValueGrid(out, axis, U8(u8"積算水温 [℃・日]"));
  DateGrid(out, time, axis);

  // Each day's sum at the end of that day.
  out += "<path class=\"sum\" d=\"";
  char command = 'M';
  double dayEnd = -1.0;
  double lastX = kChartLeft, lastY = axis.Y(0.0);
  for (const DailyRow& d : days) {
    dayEnd += d.hours;
    if (!d.accumulated) continue;
    lastX = time.X(dayEnd);
    lastY = axis.Y(*d.accumulated);
    Point(out, command, lastX, lastY);
    command = 'L';
  }
  out += "\"/>\n";
  double lastSum = 0.0;
  for (const DailyRow& d : days) {
    if (d.accumulated) lastSum = *d.accumulated;
  }
  std::string total;
  AppendDecimalCell(total, lastSum);
  Text(out, std::min(lastX, kChartRight - 4), lastY - 8, "end", total + U8(u8" ℃・日"));
  Frame(out, axis);
  out += "</svg>\n";
}

}  // namespace pt::season
