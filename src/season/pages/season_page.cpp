#include "season/pages/season_page.h"

#include <cstdio>
#include <utility>

#include "report/samples.h"
#include "season/io/whole_file.h"
#include "season/model/milestones.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/pages/season_chart.h"
#include "season/pages/stages_text.h"
#include "season/pages/stress_days_text.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

namespace {

std::string HourText(const CivilHour& h) {
  char text[32];
  std::snprintf(text, sizeof text, " %02d:00", h.hour);
  return DateText(h.Date()) + text;
}

// Every hour above is dated by the logger's clock, so how far it was from the PC's at readout is
// said beside it, and stands out when it is enough to move the season's hours.
void LoggerClockNote(std::string& out, const ClockReading& clock) {
  out += U8(u8"　ロガーの時計 ");
  if (!clock.logger) {
    out += U8(u8"読めず");
    return;
  }
  const long long offset = ClockOffsetSeconds(*clock.logger, clock.pc);
  const long long size = offset < 0 ? -offset : offset;
  const bool off = size > kClockWarningSeconds;
  if (off) out += "<strong>";
  out += ClockDifferenceTextJa(offset);
  if (off) out += "</strong>";
}

void Heading(std::string& out, const Season& season, const std::vector<DailyRow>& days,
             const DailyOptions& options) {
  out += "<h1>";
  out += U8(u8"水温の記録");
  if (!season.memoUtf8.empty()) {
    out += U8(u8"　");
    AppendHtmlEscaped(out, season.memoUtf8);
  }
  out += "</h1>\n<p class=\"meta\">";
  if (season.samples.empty()) {
    out += U8(u8"開始 ");
    out += HourText(season.start);
    out += U8(u8"　サンプルはありません");
  } else {
    out += U8(u8"開始 ");
    out += HourText(season.start);
    out += U8(u8"　最終 ");
    out += HourText(SampleHour(season, season.samples.size() - 1));
    out += U8(u8"　");
    AppendInt(out, static_cast<long long>(season.samples.size()));
    out += U8(u8" 時間分（");
    AppendInt(out, static_cast<long long>(days.size()));
    out += U8(u8" 日）");
  }
  out += U8(u8"<br>積算の基準温度 ");
  AppendDecimalCell(out, options.base);
  out += U8(u8" ℃");
  if (options.from) {
    out += U8(u8"、");
    out += DateText(*options.from);
    const DailyRow* first = nullptr;
    for (const DailyRow& d : days) {
      if (d.accumulated && !first) first = &d;
    }
    // A day before the readings cannot be summed: the sum starts where they do, and says so.
    if (!days.empty() && DayNumber(*options.from) < DayNumber(days.front().date) && first) {
      out += U8(u8" から積算の指定（記録がその後に始まるため、積算は ");
      out += DateText(first->date);
      out += U8(u8" から）");
    } else {
      out += U8(u8" から積算");
    }
  }
  if (options.dryExcluded) out += U8(u8"、水なしの時間を除く");
  if (season.readout) {
    const LocalTime& t = season.readout->localTime;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    out += U8(u8"　読み出し ");
    out += text;
    if (season.readout->clock) LoggerClockNote(out, *season.readout->clock);
  }
  if (season.offsetC != 0.0) {
    out += U8(u8"<br><strong>校正 ");
    AppendOffset(out, season.offsetC, true);
    out += U8(u8" ℃</strong>：この記録の水温はすべて、ロガーの読みにこの値を加えたものです");
  }
  out += "</p>\n";
}

void Legend(std::string& out, bool stages) {
  static constexpr struct {
    double at;
    const char8_t* label;
  } kBands[] = {{0.0, u8"20℃未満"}, {20.0, u8"20〜25℃"}, {25.0, u8"25〜30℃"}, {30.0, u8"30〜35℃"}, {35.0, u8"35℃以上"}};
  out += "<p class=\"legend\">";
  out += U8(u8"<span><i style=\"background:#1a3a8a;height:2px\">&emsp;</i>毎時の水温</span>");
  out += U8(u8"<span><i style=\"background:#c0cce8\">&emsp;</i>日最高〜日最低</span>");
  out += U8(u8"<span><i style=\"background:#c8b4a0\">&emsp;</i>水なし</span>");
  if (stages) out += kStageLegendKey;
  for (const auto& band : kBands) {
    out += "<span><i style=\"background:";
    out += HeatColour(band.at);
    out += "\">&emsp;</i>";
    out += U8(band.label);
    out += "</span>";
  }
  out += "</p>\n";
}

void SumLegend(std::string& out, bool stages) {
  out += U8(u8"<p class=\"legend\"><span><i style=\"background:#a02020;height:2px\">&emsp;</i>積算水温</span>"
            u8"<span><i style=\"border:0;border-top:1px dashed #a02020;height:0\">&emsp;</i>目安の積算水温</span>"
            u8"<span><i style=\"border:0;color:#a02020\">●</i>到達した日</span>");
  if (stages) out += kStageLegendKey;
  out += "</p>\n";
}

// The day each milestone is reached, and how many days into the season that is, counted from
// day 1 (the day the sum starts).
void MilestoneTable(std::string& out, const std::vector<DailyRow>& days, const DailyOptions& options,
                    const std::vector<double>& milestones) {
  if (milestones.empty()) return;
  const std::optional<CivilDate> zero = SeasonDayZero(days, options);
  out += U8(u8"<div>\n<h2>積算水温の到達日</h2>\n<table>\n<thead><tr><th>積算水温</th><th>到達日</th>"
            u8"<th>日数</th></tr></thead>\n<tbody>\n");
  const std::vector<std::optional<CivilDate>> dates = MilestoneDates(days, milestones);
  for (std::size_t m = 0; m < milestones.size(); ++m) {
    out += "<tr><td>";
    out += Number("%g", milestones[m]);
    out += U8(u8" ℃・日</td><td>");
    if (dates[m]) {
      out += DateText(*dates[m]);
      out += "</td><td>";
      if (zero) {
        AppendInt(out, DayNumber(*dates[m]) - DayNumber(*zero) + 1);
        out += U8(u8"日目");
      }
    } else {
      out += U8(u8"未到達</td><td>");
    }
    out += "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</div>\n";
}

// What sets a day apart: too few hours for a day's figures, cold, hot.
void DayMarks(std::string& out, const DailyRow& d) {
  out += "<td class=\"mark\">";
  const char* sep = "";
  for (const auto& [set, text] : {std::pair{!d.Complete(), u8"不完全"}, std::pair{d.cold.value_or(false), u8"低温"},
                                  std::pair{d.hot.value_or(false), u8"高温"}}) {
    if (!set) continue;
    out += sep;
    out += U8(text);
    sep = U8(u8"・");
  }
  out += "</td>";
}

void DayRow(std::string& out, const DailyRow& d) {
  out += d.date.day == 1 ? "<tr class=\"first\"><td>" : "<tr><td>";
  out += DateText(d.date);
  out += "</td><td";
  if (d.mean) {
    out += " style=\"background:";
    out += HeatColour(*d.mean);
    out += '"';
  }
  out += '>';
  AppendDecimalCell(out, d.mean);
  out += "</td><td>";
  AppendDecimalCell(out, d.maximum);
  out += "</td><td>";
  AppendDecimalCell(out, d.minimum);
  out += "</td><td>";
  AppendInt(out, d.hours);
  out += "</td><td>";
  AppendInt(out, d.noWaterHours);
  out += "</td><td>";
  AppendDecimalCell(out, d.accumulated);
  out += "</td>";
  DayMarks(out, d);
  out += "</tr>\n";
}

// The days in columns of at most kRowsPerColumn, three columns a block: on paper a block fills at
// most one page, and a block that does not fit moves whole to the next, so the days keep their
// order; a hundred days are one block. The 1st of a month has a rule above it.
constexpr std::size_t kRowsPerColumn = 46;
constexpr std::size_t kColumnsPerBlock = 3;

void DailyTables(std::string& out, const std::vector<DailyRow>& days) {
  out += U8(u8"<section class=\"days\">\n<h2>日ごとの水温</h2>\n");
  const std::size_t columns = (days.size() + kRowsPerColumn - 1) / kRowsPerColumn;
  const std::size_t rows = (days.size() + columns - 1) / columns;  // the columns evened out
  for (std::size_t column = 0; column < columns; ++column) {
    if (column % kColumnsPerBlock == 0) out += "<div class=\"months\">\n";
    out += U8(u8"<table>\n<thead><tr><th>日付</th><th>平均</th><th>最高</th><th>最低</th><th>時間数</th>"
              u8"<th>水なし時間 [時間]</th><th>積算水温</th><th>備考</th></tr></thead>\n<tbody>\n");
    for (std::size_t i = column * rows; i < days.size() && i < (column + 1) * rows; ++i) DayRow(out, days[i]);
    out += "</tbody>\n</table>\n";
    if (column % kColumnsPerBlock == kColumnsPerBlock - 1 || column + 1 == columns) out += "</div>\n";
  }
  out += "</section>\n";
}

}  // namespace

std::string FormatSeasonPage(const Season& season, const DailyOptions& options,
                             const std::optional<std::vector<double>>& milestones) {
  const std::vector<DailyRow> days = ComputeDaily(season, options);
  const std::vector<double> goals = milestones ? *milestones : DefaultMilestones(options.base);
  std::string title = U8(u8"水温の記録");
  if (!season.memoUtf8.empty()) title += ' ' + season.memoUtf8;
  std::string out;
  out.reserve(4096 + season.samples.size() * 12 + days.size() * 160);
  out += "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtmlEscaped(out, title);
  out += "</title>\n<style>\n";
  out += kPageStyle;
  if (!days.empty()) {
    AppendPrintedTitle(out, title + U8(u8"　") + DateText(days.front().date) + U8(u8"〜") + DateText(days.back().date));
  }
  out += "</style>\n</head>\n<body>\n";
  Heading(out, season, days, options);
  if (!season.samples.empty()) {
    out += "<figure class=\"chart\">\n";
    AppendTemperatureChart(out, season, days, options);
    Legend(out, options.stages.Any());
    out += "</figure>\n";
    std::string sum;
    AppendAccumulatedChart(sum, season, days, goals);
    if (!sum.empty()) {
      out += U8(u8"<h2>積算水温</h2>\n<figure class=\"chart\">\n");
      out += sum;
      SumLegend(out, options.stages.Any());
      out += "</figure>\n";
    }
    out += "<div class=\"summary\">\n<div>\n";
    AppendStressDaysSection(out, days, options);
    out += "</div>\n";
    if (!sum.empty()) MilestoneTable(out, days, options, goals);
    out += "</div>\n";
    DailyTables(out, days);
    AppendStagesSection(out, season, days, options);
  }
  out += "</body>\n</html>\n";
  return out;
}

bool WriteSeasonPage(const std::string& path, const Season& season, const DailyOptions& options,
                     std::string* error, const std::optional<std::vector<double>>& milestones) {
  return WriteWholeFile(path, FormatSeasonPage(season, options, milestones), error);
}

}  // namespace pt::season
