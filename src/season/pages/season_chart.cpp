#include "season/pages/season_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report/samples.h"
#include "season/model/milestones.h"
#include "season/pages/chart_axes.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

namespace {

// The row of day number `day` among rows one a day from the first hour's.
std::size_t DayIndex(const std::vector<DailyRow>& days, std::int64_t day) {
  return static_cast<std::size_t>(day - DayNumber(days.front().date));
}

// A path through the points that have a value; where one has none the line stops and starts
// again after it, so that a gap in the readings shows as a gap. A point with no neighbour to
// join would draw nothing, so it is a small ring.
template <typename At>
void BrokenLine(std::string& out, const char* cls, std::size_t count, At at) {
  out += "<path class=\"";
  out += cls;
  out += "\" d=\"";
  std::vector<std::pair<double, double>> alone;
  std::size_t run = 0;
  std::pair<double, double> first{};
  for (std::size_t i = 0; i <= count; ++i) {
    const std::optional<std::pair<double, double>> p = i < count ? at(i) : std::nullopt;
    if (!p) {
      if (run == 1) alone.push_back(first);
      run = 0;
      continue;
    }
    if (run == 0) first = *p;
    Point(out, run == 0 ? 'M' : (run == 1 ? 'L' : ' '), p->first, p->second);
    ++run;
  }
  out += "\"/>\n";
  for (const auto& [x, y] : alone) Circle(out, std::string("class=\"") + cls + "\"", x, y, "1.5");
}

// The day each milestone is reached, with the day's place along the time axis.
struct Reached {
  double goal;
  const DailyRow* day = nullptr;
  double dayEnd = 0.0;
};

}  // namespace

void AppendTemperatureChart(std::string& out, const Season& season, const std::vector<DailyRow>& days,
                            const DailyOptions& options) {
  if (season.samples.empty()) return;
  const HourAxis time(season.start, season.samples.size());
  double low = season.samples[0].temperature, high = low;
  for (const Sample& s : season.samples) {
    low = std::min(low, s.temperature);
    high = std::max(high, s.temperature);
  }
  const ValueAxis axis(low, high, 24.0, 275.0, 5.0);
  OpenSvg(out, 305.0, U8(u8"水温の推移"));

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
  HourDateGrid(out, time, axis);
  HourStageShades(out, time, axis, [&](std::int64_t day) { return days[DayIndex(days, day)].stage; }, false);

  // The daily max-min band through each day's middle hour, one shape for each run of days that
  // have both.
  std::vector<std::vector<std::pair<double, const DailyRow*>>> runs(1);
  double dayStart = 0.0;
  for (const DailyRow& d : days) {
    const double middle = dayStart + (d.hours - 1) / 2.0;
    if (d.maximum && d.minimum) {
      runs.back().emplace_back(time.X(middle), &d);
    } else if (!runs.back().empty()) {
      runs.emplace_back();
    }
    dayStart += d.hours;
  }
  for (const auto& run : runs) {
    if (run.empty()) continue;
    out += "<path class=\"range\" d=\"";
    char command = 'M';
    for (const auto& [x, d] : run) {
      Point(out, command, x, axis.Y(*d->maximum));
      command = 'L';
    }
    for (auto it = run.rbegin(); it != run.rend(); ++it) Point(out, 'L', it->first, axis.Y(*it->second->minimum));
    out += "Z\"/>\n";
  }

  // The hourly line; the hours left out of the figures are left out of it too.
  BrokenLine(out, "hourly", season.samples.size(), [&](std::size_t i) -> std::optional<std::pair<double, double>> {
    const Sample& s = season.samples[i];
    if (options.dryExcluded && s.noWater) return std::nullopt;
    return std::pair{time.X(static_cast<double>(i)), axis.Y(s.temperature)};
  });
  Frame(out, axis);
  out += "</svg>\n";
}

void AppendAccumulatedChart(std::string& out, const Season& season, const std::vector<DailyRow>& days,
                            const std::vector<double>& milestones) {
  double low = 0.0, high = 0.0;
  bool any = false;
  for (const DailyRow& d : days) {
    if (!d.accumulated) continue;
    low = std::min(low, *d.accumulated);
    high = std::max(high, *d.accumulated);
    any = true;
  }
  if (!any || season.samples.empty()) return;
  // The marks the season reached; one it never did would only squash the line (the table beside
  // says so).
  std::vector<Reached> reached;
  const std::vector<std::optional<CivilDate>> dates = MilestoneDates(days, milestones);
  for (std::size_t m = 0; m < milestones.size(); ++m) {
    double dayEnd = -1.0;
    for (const DailyRow& d : days) {
      dayEnd += d.hours;
      if (dates[m] && d.date == *dates[m]) {
        reached.push_back({milestones[m], &d, dayEnd});
        break;
      }
    }
  }
  const HourAxis time(season.start, season.samples.size());
  const ValueAxis axis(low, high, 24.0, 195.0, NiceStep(high - low));
  OpenSvg(out, 225.0, U8(u8"積算水温の推移"));
  ValueGrid(out, axis, U8(u8"積算水温 [℃・日]"));
  HourDateGrid(out, time, axis);
  // Named along the foot here: a sum ends high on the right, where its total is written.
  HourStageShades(out, time, axis, [&](std::int64_t day) { return days[DayIndex(days, day)].stage; }, true);
  // Marks close together share their labels' room: a label that would overprint the one before
  // is left out (the table beside the chart has every one).
  double labelY = -1e9;
  for (const Reached& r : reached) {
    const double y = axis.Y(r.goal);
    Line(out, kChartLeft, y, kChartRight, y, "goal");
    if (std::abs(y - labelY) < 14) continue;
    Text(out, kChartLeft + 4, y + 13, "start", Number("%g", r.goal));
    labelY = y;
  }

  // Each day's sum at the end of that day.
  double dayEnd = -1.0;
  std::vector<double> ends;
  for (const DailyRow& d : days) ends.push_back(dayEnd += d.hours);
  BrokenLine(out, "sum", days.size(), [&](std::size_t i) -> std::optional<std::pair<double, double>> {
    if (!days[i].accumulated) return std::nullopt;
    return std::pair{time.X(ends[i]), axis.Y(*days[i].accumulated)};
  });
  double lastX = kChartLeft, lastY = axis.Y(0.0), lastSum = 0.0;
  for (std::size_t i = 0; i < days.size(); ++i) {
    if (!days[i].accumulated) continue;
    lastX = time.X(ends[i]);
    lastY = axis.Y(*days[i].accumulated);
    lastSum = *days[i].accumulated;
  }
  double dateX = -1e9, dateY = -1e9;
  for (const Reached& r : reached) {
    const double x = time.X(r.dayEnd), y = axis.Y(r.goal);
    Circle(out, "class=\"reached\"", x, y, "3.5");
    if (std::abs(x - dateX) < 40 && std::abs(y - dateY) < 14) continue;
    Text(out, x + 6, y + 14, "start", std::to_string(r.day->date.month) + "/" + std::to_string(r.day->date.day));
    dateX = x, dateY = y;
  }
  std::string total;
  AppendDecimalCell(total, lastSum);
  // Above the line's end, or where the frame would strike it through, left of it, where a rising
  // line lies below.
  if (lastY - 8 >= axis.Top() + 14) {
    Text(out, std::min(lastX, kChartRight - 4), lastY - 8, "end", total + U8(u8" ℃・日"));
  } else {
    Text(out, lastX - 8, lastY + 4, "end", total + U8(u8" ℃・日"));
  }
  Frame(out, axis);
  out += "</svg>\n";
}

}  // namespace pt::season
