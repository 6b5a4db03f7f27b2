// The comparison page: the seasons' daily means and their sums overlaid, each season in a colour
// and a dash pattern of its own, with a legend beside each chart.
#include <algorithm>
#include <cmath>

#include "season/pages/chart_axes.h"
#include "season/pages/compare.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/model/stress_days.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

namespace {

// Colours that stay apart on screen, on a colour printer and for most colour-blind readers (the
// Okabe-Ito set and a few more).
constexpr const char* kPalette[] = {"#0072b2", "#d55e00", "#009e73", "#cc79a7", "#e69f00",
                                    "#56b4e9", "#000000", "#8c564b", "#7f7f7f", "#b8b000"};
constexpr std::size_t kPaletteSize = std::size(kPalette);

// On a black-and-white printout the colours become greys that are hard to tell apart, so each
// season also has a dash pattern (in chart units, a little under a pixel on screen): solid, long
// dash, short dash, dotted, dash-dot, dash-dot-dot, long-short, sparse dots, dash-dash-dot, very
// long dash.
constexpr const char* kDashes[] = {"",         "14 5",     "6 4", "1.5 3",         "14 4 2 4",
                                   "14 4 2 4 2 4", "24 4 6 4", "2 7", "7 3 7 3 1.5 3", "28 8"};
constexpr std::size_t kDashCount = std::size(kDashes);
static_assert(kDashCount == kPaletteSize, "ten seasons, each told apart by colour and by pattern alike");

// Past ten seasons the colours come round again with the patterns shifted by one, so that no two
// of the first hundred seasons are drawn alike.
void SeasonStroke(std::string& out, std::size_t index) {
  out += "stroke:";
  out += kPalette[index % kPaletteSize];
  const char* dashes = kDashes[(index + index / kPaletteSize) % kDashCount];
  if (*dashes != '\0') {
    out += ";stroke-dasharray:";
    out += dashes;
  }
}

// The legend beside each chart is a little wider than the season page's, for a label and a first
// day, a line that wraps going on under the text rather than under the key. The key is a short
// piece of the season's line, long enough for the longest dash pattern to show whole, drawn at
// about the chart's own scale so that a pattern on paper matches its label.
constexpr const char* kCompareStyle =
    "svg .line { fill: none; stroke-width: 1.5; stroke-linejoin: round }\n"
    "figure.chart .legend { flex-basis: 12em }\n"
    "figure.chart .legend span { margin-bottom: .5em; padding-left: 56px; text-indent: -56px }\n"
    "figure.chart .legend time { white-space: nowrap }\n"
    "svg.key { display: inline-block; width: 48px; height: 8px; margin-right: 8px; vertical-align: middle }\n"
    "td.label { text-align: left }\n"
    "h2 { break-after: avoid }\n"
    "table { break-inside: avoid }\n"
    "svg .part { fill: #fff; stroke-width: 1.2 }\n"
    "figure.chart .legend span.part { padding-left: 0; text-indent: 0; font-size: .8em; color: #555 }\n";

// A season as the page draws it.
struct Drawn {
  const ComparedSeason* source;
  std::vector<DailyRow> days;
  std::int64_t origin = 0;  // the day number at x = 0 of this season's days
};

// Days along the shared axis. By date, every season's first year is laid onto one leap year, so
// that 1 May is 1 May in any year and a season running past New Year goes on to the right.
double AxisDay(const Drawn& d, const CivilDate& date, CompareBy by) {
  if (by == CompareBy::Day) return static_cast<double>(DayNumber(date) - d.origin);
  const int firstYear = d.days.front().date.year;
  const std::int64_t inYear = DayNumber({2000, date.month, date.day}) - DayNumber({2000, 1, 1});
  return static_cast<double>(inYear + 366LL * (date.year - firstYear));
}

void DayGrid(std::string& out, const DayAxis& axis, const ValueAxis& values, CompareBy by) {
  if (by == CompareBy::Day) {
    DayNumberGrid(out, axis, values);
    return;
  }
  // Axis days fold onto the leap year 2000, the first season's year in each 366.
  const DateMarks marks = DateMarksFor(axis.Last() - axis.First());
  for (auto day = static_cast<std::int64_t>(std::ceil(axis.First())); day <= static_cast<std::int64_t>(axis.Last());
       ++day) {
    const CivilDate d = DateOfDayNumber(DayNumber({2000, 1, 1}) + day % 366);
    DateMark(out, values, marks, d, axis.X(static_cast<double>(day)));
  }
}

void SeasonLineStyle(std::string& out, std::size_t index) {
  out += "<path class=\"line s";
  AppendInt(out, static_cast<long long>(index));
  out += "\" style=\"";
  SeasonStroke(out, index);
  out += "\" d=\"";
}

void LineKey(std::string& out, std::size_t index) {
  out += "<svg class=\"key\" viewBox=\"0 0 48 8\" aria-hidden=\"true\"><path class=\"line\" style=\"";
  SeasonStroke(out, index);
  out += "\" d=\"M0,4H48\"/></svg>";
}

// One chart: a line per season through `value` of each day that has one, placed `shift` days into
// the day (the middle for a mean, the end for a sum); a day without a value breaks the line.
// Both charts span every season's days, so that a date stands at one place in both.
DayAxis SharedDays(const std::vector<Drawn>& seasons, CompareBy by) {
  double first = 0, last = 0;
  bool any = false;
  for (const Drawn& s : seasons) {
    const double a = AxisDay(s, s.days.front().date, by), b = AxisDay(s, s.days.back().date, by) + 1.0;
    first = any ? std::min(first, a) : a;
    last = any ? std::max(last, b) : b;
    any = true;
  }
  return DayAxis(first, last);
}

// With `apart`, the value of a day that is not complete (the first and the last, mostly) is a ring
// on its own, not a point of the line: a mean of some hours only is no day's mean.
template <typename Value>
bool OverlayChart(std::string& out, const std::vector<Drawn>& seasons, const DayAxis& days, CompareBy by,
                  const char* label, const char* unit, double height, double shift, bool fromZero, bool apart,
                  Value value) {
  double low = 0, high = 0;
  bool any = false;
  for (const Drawn& s : seasons) {
    for (const DailyRow& d : s.days) {
      const std::optional<double> v = value(d);
      if (!v) continue;
      if (!any) low = high = *v;
      low = std::min(low, *v), high = std::max(high, *v);
      any = true;
    }
  }
  if (!any) return false;
  if (fromZero) low = std::min(low, 0.0);
  const ValueAxis values(low, high, 24.0, height - 30.0, fromZero ? NiceStep(high - low) : 5.0);
  OpenSvg(out, height, label);
  ValueGrid(out, values, unit);
  DayGrid(out, days, values, by);
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    SeasonLineStyle(out, i);
    char command = 'M';
    std::string rings;
    for (const DailyRow& d : seasons[i].days) {
      const std::optional<double> v = value(d);
      const double x = days.X(AxisDay(seasons[i], d.date, by) + shift);
      if (v && apart && !d.Complete()) {
        Circle(rings, std::string("class=\"part\" style=\"stroke:") + kPalette[i % kPaletteSize] + "\"", x,
               values.Y(*v), "3");
      }
      if (!v || (apart && !d.Complete())) {
        command = 'M';
        continue;
      }
      Point(out, command, x, values.Y(*v));
      command = 'L';
    }
    out += "\"/>\n";
    out += rings;
  }
  Frame(out, values);
  out += "</svg>\n";
  return true;
}

void Legend(std::string& out, const std::vector<Drawn>& seasons, bool rings) {
  out += "<p class=\"legend\">";
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    out += "<span>";
    LineKey(out, i);
    const std::string& label = seasons[i].source->label;
    AppendHtmlEscaped(out, label);
    // A label that had to be told apart by its start date has it already.
    const std::string first = DateText(seasons[i].days.front().date);
    if (!label.ends_with(" " + first) && label.find(" " + first + " (") == std::string::npos) {
      out += " <time>";
      out += first;
      out += "</time>";
    }
    out += "</span>";
  }
  if (rings) out += U8(u8"<span class=\"part\">○ 24 時間そろわない日の平均（線で結びません）</span>");
  out += "</p>\n";
}

void ChartFigure(std::string& out, const std::string& chart, const std::vector<Drawn>& seasons,
                 bool rings = false) {
  out += "<figure class=\"chart\">\n";
  out += chart;
  Legend(out, seasons, rings);
  out += "</figure>\n";
}

void MilestoneTable(std::string& out, const std::vector<Drawn>& seasons, const CompareOptions& options) {
  out += U8(u8"<table>\n<thead><tr><th>作期</th><th>開始</th><th>最終</th><th>積算水温</th>");
  for (double m : options.milestones) {
    out += "<th>";
    out += Number("%g", m);
    out += U8(u8" ℃・日</th>");
  }
  out += U8(u8"<th>低温日</th><th>高温日</th></tr></thead>\n<tbody>\n");
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    const Drawn& s = seasons[i];
    out += "<tr><td class=\"label\">";
    LineKey(out, i);
    AppendHtmlEscaped(out, s.source->label);
    if (s.source->season.offsetC != 0.0) {
      out += U8(u8"（校正 ");
      AppendOffset(out, s.source->season.offsetC, true);
      out += U8(u8" ℃）");
    }
    out += "</td><td>";
    if (!s.days.empty()) out += DateText(s.days.front().date);
    out += "</td><td>";
    if (!s.days.empty()) out += DateText(s.days.back().date);
    out += "</td><td>";
    std::optional<double> total;
    for (const DailyRow& d : s.days) {
      if (d.accumulated) total = d.accumulated;
    }
    if (total) {
      AppendDecimalCell(out, total);
    } else {
      out += "&mdash;";  // no day summed: like a milestone never reached
    }
    out += "</td>";
    for (const std::optional<CivilDate>& date : MilestoneDates(s.days, options.milestones)) {
      out += "<td>";
      if (!date) {
        out += "&mdash;";
      } else {
        out += DateText(*date);
        if (options.by == CompareBy::Day) {
          out += U8(u8"（");
          out += DayCountText(DayNumber(*date) - s.origin);
          out += U8(u8"）");
        }
      }
      out += "</td>";
    }
    for (const Stress which : {Stress::Cold, Stress::Hot}) {
      out += "<td>";
      AppendInt(out, FindStressDays(s.days, which).count);
      out += "</td>";
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n";
}

void Heading(std::string& out, std::size_t count, const CompareOptions& options) {
  out += U8(u8"<h1>水温の比較</h1>\n<p class=\"meta\">");
  AppendInt(out, static_cast<long long>(count));
  out += options.by == CompareBy::Date ? U8(u8" 作期を月日で重ねて表示") : U8(u8" 作期を積算開始からの日数で重ねて表示");
  out += U8(u8"<br>積算の基準温度 ");
  AppendDecimalCell(out, options.daily.base);
  out += U8(u8" ℃");
  if (options.daily.from) {
    out += U8(u8"、");
    out += DateText(*options.daily.from);
    out += U8(u8" から積算");
  }
  if (options.daily.dryExcluded) out += U8(u8"、水なしの時間を除く");
  out += U8(u8"<br>低温日は日平均 ");
  AppendDecimalCell(out, options.daily.coldBelow);
  out += U8(u8" ℃ 未満の日、高温日は日最高 ");
  AppendDecimalCell(out, options.daily.hotFrom);
  out += U8(u8" ℃ 以上の日（目安の温度は生育段階と品種によって異なります）");
  out += "</p>\n";
}

}  // namespace

std::string FormatComparePage(const std::vector<ComparedSeason>& seasons, const CompareOptions& options) {
  std::vector<Drawn> drawn;
  for (const ComparedSeason& s : seasons) {
    Drawn d{&s, ComputeDaily(s.season, options.daily), 0};
    if (d.days.empty()) continue;
    d.origin = DayNumber(*SeasonDayZero(d.days, options.daily));
    drawn.push_back(std::move(d));
  }
  std::string out;
  out.reserve(8192 + drawn.size() * 32768);
  out += "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  out += U8(u8"水温の比較");
  out += "</title>\n<style>\n";
  out += kPageStyle;
  out += kCompareStyle;
  if (!drawn.empty()) {
    CivilDate first = drawn.front().days.front().date, last = drawn.front().days.back().date;
    for (const Drawn& d : drawn) {
      if (DayNumber(d.days.front().date) < DayNumber(first)) first = d.days.front().date;
      if (DayNumber(d.days.back().date) > DayNumber(last)) last = d.days.back().date;
    }
    std::string title = U8(u8"水温の比較　");
    title += std::to_string(drawn.size()) + U8(u8" 作期　") + DateText(first) + U8(u8"〜") + DateText(last);
    AppendPrintedTitle(out, title);
  }
  out += "</style>\n</head>\n<body>\n";
  Heading(out, drawn.size(), options);
  if (!drawn.empty()) {
    const DayAxis days = SharedDays(drawn, options.by);
    std::string chart;
    if (OverlayChart(chart, drawn, days, options.by, U8(u8"日平均水温の比較"), U8(u8"水温 [℃]"), 290.0, 0.5, false, true,
                     [](const DailyRow& d) { return d.mean; })) {
      out += U8(u8"<h2>日平均水温</h2>\n");
      ChartFigure(out, chart, drawn, true);
    }
    chart.clear();
    if (OverlayChart(chart, drawn, days, options.by, U8(u8"積算水温の比較"), U8(u8"積算水温 [℃・日]"), 225.0, 1.0,
                     true, false, [](const DailyRow& d) { return d.accumulated; })) {
      out += U8(u8"<h2>積算水温</h2>\n");
      ChartFigure(out, chart, drawn);
    }
    out += U8(u8"<h2>積算水温の到達日</h2>\n");
    MilestoneTable(out, drawn, options);
  }
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace pt::season
