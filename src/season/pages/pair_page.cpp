// The inlet and field page. The two lines are told apart by colour and by dash pattern alike, so
// that a black-and-white printout still shows which is which.
#include "season/pages/pair_page.h"

#include <algorithm>

#include "season/pages/chart_axes.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/pages/pair_csv.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

namespace {

constexpr const char* kPairStyle =
    "svg .inlet { fill: none; stroke: #0072b2; stroke-width: 1; stroke-linejoin: round }\n"
    "svg .field { fill: none; stroke: #d55e00; stroke-width: 1; stroke-dasharray: 6 3; stroke-linejoin: round }\n"
    "svg .diff { fill: none; stroke: #6a3d9a; stroke-width: .8; stroke-linejoin: round }\n"
    "svg .zero { stroke: #222; stroke-width: 1.4; fill: none }\n"
    "svg .margin { stroke: #a02020; stroke-width: 1; stroke-dasharray: 5 3; fill: none }\n"
    "svg.key { display: inline-block; width: 40px; height: 8px; margin-right: 6px; vertical-align: middle }\n"
    "td.date { text-align: left; white-space: nowrap }\n"
    // The days beyond the margin in short blocks that wrap, on paper too: a block moves whole to
    // the next page, and blocks of one height cannot change places.
    ".blocks { display: flex; flex-wrap: wrap; gap: 0 1.2em; align-items: flex-start }\n"
    ".blocks table { break-inside: avoid }\n"
    "h2 { break-after: avoid }\n";

// The stages the dates given lead to, behind a chart of the shared hours.
void Stages(std::string& out, const HourAxis& time, const ValueAxis& values, const StageDates& stages, bool below) {
  if (!stages.Any()) return;
  HourStageShades(out, time, values, [&](std::int64_t day) { return StageOf(DateOfDayNumber(day), stages); }, below);
}

template <typename Value>
void HourLine(std::string& out, const char* cls, const SeasonPair& pair, const HourAxis& time,
              const ValueAxis& values, Value value) {
  out += "<path class=\"";
  out += cls;
  out += "\" d=\"";
  for (std::size_t i = 0; i < pair.hours.size(); ++i) {
    Point(out, i == 0 ? 'M' : (i == 1 ? 'L' : ' '), time.X(static_cast<double>(i)), values.Y(value(pair.hours[i])));
  }
  out += "\"/>\n";
}

void Key(std::string& out, const char* cls, const char* text) {
  out += "<span><svg class=\"key\" viewBox=\"0 0 40 8\" aria-hidden=\"true\"><path class=\"";
  out += cls;
  out += "\" d=\"M0,4H40\"/></svg>";
  out += text;
  out += "</span>";
}

void TemperatureChart(std::string& out, const SeasonPair& pair, const HourAxis& time, const StageDates& stages) {
  double low = pair.hours.front().inlet, high = low;
  for (const PairedHour& h : pair.hours) {
    low = std::min({low, h.inlet, h.field});
    high = std::max({high, h.inlet, h.field});
  }
  const ValueAxis values(low, high, 24.0, 220.0, 5.0);
  out += "<figure class=\"chart\">\n";
  OpenSvg(out, 250.0, U8(u8"取水口と田面の毎時の水温"));
  ValueGrid(out, values, U8(u8"水温 [℃]"));
  HourDateGrid(out, time, values);
  Stages(out, time, values, stages, false);
  HourLine(out, "inlet", pair, time, values, [](const PairedHour& h) { return h.inlet; });
  HourLine(out, "field", pair, time, values, [](const PairedHour& h) { return h.field; });
  Frame(out, values);
  out += "</svg>\n<p class=\"legend\">";
  Key(out, "inlet", U8(u8"取水口"));
  Key(out, "field", U8(u8"田面"));
  if (stages.Any()) out += kStageLegendKey;
  out += "</p>\n</figure>\n";
}

void DifferenceChart(std::string& out, const SeasonPair& pair, const HourAxis& time, std::int64_t marginTenths,
                     const StageDates& stages) {
  const double margin = static_cast<double>(marginTenths) / 10.0;
  double low = -margin, high = margin;
  for (const PairedHour& h : pair.hours) {
    low = std::min(low, h.Difference());
    high = std::max(high, h.Difference());
  }
  // A little room beyond the margins, so that a margin line never lies on the frame.
  const double room = (high - low) * 0.05;
  const ValueAxis values(low - room, high + room, 24.0, 165.0, NiceStep(high - low));
  out += "<figure class=\"chart\">\n";
  OpenSvg(out, 195.0, U8(u8"田面と取水口の毎時の水温差"));
  ValueGrid(out, values, U8(u8"差 [℃]"));
  HourDateGrid(out, time, values);
  Stages(out, time, values, stages, true);
  Line(out, kChartLeft, values.Y(margin), kChartRight, values.Y(margin), "margin");
  Line(out, kChartLeft, values.Y(-margin), kChartRight, values.Y(-margin), "margin");
  Line(out, kChartLeft, values.Y(0.0), kChartRight, values.Y(0.0), "zero");
  HourLine(out, "diff", pair, time, values, [](const PairedHour& h) { return h.Difference(); });
  Frame(out, values);
  out += "</svg>\n<p class=\"legend\">";
  Key(out, "diff", U8(u8"田面 − 取水口"));
  Key(out, "zero", U8(u8"差なし (0 ℃)"));
  const std::string bounds = U8(u8"±") + TenthsText(marginTenths) + U8(u8" ℃");
  Key(out, "margin", bounds.c_str());
  if (stages.Any()) out += kStageLegendKey;
  out += "</p>\n</figure>\n";
}

void BeyondTable(std::string& out, const SeasonPair& pair, const PairPageOptions& options) {
  const std::vector<PairedDay> beyond = DaysBeyond(pair, options.marginTenths);
  out += U8(u8"<h2>田面が取水口より ±");
  out += TenthsText(options.marginTenths);
  out += U8(u8" ℃ を超えて離れた日（");
  AppendInt(out, static_cast<long long>(beyond.size()));
  out += U8(u8" 日 / 両方そろった ");
  AppendInt(out, static_cast<long long>(pair.days.size()));
  out += U8(u8" 日、日平均の差）</h2>\n");
  if (beyond.empty()) {
    out += U8(u8"<p class=\"note\">ありません。</p>\n");
    return;
  }
  // Blocks of a few days side by side, as the season page lays out its months, so that a hot
  // spell of a few weeks still prints on the page with the charts.
  const bool stages = options.stages.Any();
  constexpr std::size_t kBlock = 10;
  out += "<div class=\"blocks\">\n";
  for (std::size_t first = 0; first < beyond.size(); first += kBlock) {
    out += U8(u8"<table>\n<thead><tr><th>日付</th>");
    if (stages) out += U8(u8"<th>生育段階</th>");
    out += U8(u8"<th>取水口 ℃</th><th>田面 ℃</th><th>差 ℃</th></tr></thead>\n<tbody>\n");
    for (std::size_t i = first; i < std::min(beyond.size(), first + kBlock); ++i) {
      const PairedDay& d = beyond[i];
      out += "<tr><td class=\"date\">";
      out += DateText(d.date);
      out += "</td>";
      if (stages) {
        out += "<td class=\"date\">";
        out += StageNameJa(StageOf(d.date, options.stages));
        out += "</td>";
      }
      out += "<td>";
      AppendDecimalCell(out, d.inletMean);
      out += "</td><td>";
      AppendDecimalCell(out, d.fieldMean);
      out += "</td><td>";
      out += d.differenceTenths > 0 ? "+" : "";
      out += TenthsText(d.differenceTenths);
      out += "</td></tr>\n";
    }
    out += "</tbody>\n</table>\n";
  }
  out += "</div>\n";
}

void Who(std::string& out, const char* role, const Season& season, const std::string& name) {
  out += role;
  out += U8(u8"：");
  if (!season.memoUtf8.empty()) {
    AppendHtmlEscaped(out, season.memoUtf8);
    out += ' ';
  }
  out += U8(u8"（");
  AppendHtmlEscaped(out, name);
  out += U8(u8"）");
  if (const auto dates = SeasonDates(season)) {
    out += ' ';
    out += DateText(dates->first);
    out += U8(u8"〜");
    out += DateText(dates->second);
  }
  out += "<br>";
}

}  // namespace

std::string FormatPairPage(const Season& inlet, const Season& field, const SeasonPair& pair,
                           const PairPageOptions& options) {
  std::string out;
  out.reserve(16384 + pair.hours.size() * 40);
  out += "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  out += U8(u8"取水口と田面の水温");
  out += "</title>\n<style>\n";
  out += kPageStyle;
  out += kPairStyle;
  std::string shared;
  if (!pair.hours.empty()) {
    shared = DateText(pair.hours.front().hour.Date()) + U8(u8"〜") + DateText(pair.hours.back().hour.Date());
    AppendPrintedTitle(out, U8(u8"取水口と田面の水温　") + shared);
  }
  out += "</style>\n</head>\n<body>\n";
  out += U8(u8"<h1>取水口と田面の水温</h1>\n<p class=\"meta\">");
  Who(out, U8(u8"取水口"), inlet, options.inletName);
  Who(out, U8(u8"田面"), field, options.fieldName);
  if (!pair.hours.empty()) {
    out += U8(u8"両方の記録がある期間：");
    out += shared;
    out += U8(u8"（24 時間そろった日 ");
    AppendInt(out, static_cast<long long>(pair.days.size()));
    out += U8(u8" 日）");
  }
  if (options.stages.transplanted) out += U8(u8"<br>移植日 ") + DateText(*options.stages.transplanted);
  if (options.stages.heading) out += U8(u8"<br>出穂日 ") + DateText(*options.stages.heading);
  out += "</p>\n";
  if (!pair.hours.empty()) {
    const HourAxis time(pair.hours.front().hour, pair.hours.size());
    out += U8(u8"<h2>毎時の水温</h2>\n");
    TemperatureChart(out, pair, time, options.stages);
    out += U8(u8"<h2>毎時の水温差（田面 − 取水口）</h2>\n");
    DifferenceChart(out, pair, time, options.marginTenths, options.stages);
  }
  BeyondTable(out, pair, options);
  out += U8(u8"<p class=\"note\">掛け流しで水温を下げるには、取水口の水が田面の水より冷たいことが前提です。"
            u8"取水口の水が気温より高いときに掛け流すと、かえって高温障害を強めます。"
            u8"一つの警報温度ではなく、田面と取水口の差で判断してください。</p>\n");
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace pt::season
