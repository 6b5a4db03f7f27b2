#include "season/pages/season_page.h"

#include <cstdio>
#include <utility>

#include "report/samples.h"
#include "season/io/whole_file.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/pages/season_chart.h"
#include "season/pages/stress_days_text.h"

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
    out += U8(u8" から積算");
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

void Legend(std::string& out) {
  static constexpr struct {
    double at;
    const char8_t* label;
  } kBands[] = {{0.0, u8"20℃未満"}, {20.0, u8"20〜25℃"}, {25.0, u8"25〜30℃"}, {30.0, u8"30〜35℃"}, {35.0, u8"35℃以上"}};
  out += "<p class=\"legend\">";
  for (const auto& band : kBands) {
    out += "<span><i style=\"background:";
    out += HeatColour(band.at);
    out += "\">&emsp;</i>";
    out += U8(band.label);
    out += "</span>";
  }
  out += U8(u8"<span><i style=\"background:#c8b4a0\">&emsp;</i>水なし</span>");
  out += U8(u8"<span><i style=\"background:#c0cce8\">&emsp;</i>日最高〜日最低</span>");
  out += U8(u8"<span><i style=\"background:#1a3a8a;height:2px\">&emsp;</i>毎時の水温</span>");
  out += "</p>\n";
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

void DailyTable(std::string& out, const std::vector<DailyRow>& days) {
  out += U8(u8"<table>\n<thead><tr><th>日付</th><th>平均</th><th>最高</th><th>最低</th><th>時間数</th>"
            u8"<th>水なし時間 [時間]</th><th>積算水温</th><th>備考</th></tr></thead>\n<tbody>\n");
  for (const DailyRow& d : days) {
    out += "<tr><td>";
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
  out += "</tbody>\n</table>\n";
}

}  // namespace

std::string FormatSeasonPage(const Season& season, const DailyOptions& options) {
  const std::vector<DailyRow> days = ComputeDaily(season, options);
  std::string out;
  out.reserve(4096 + season.samples.size() * 12 + days.size() * 160);
  out += "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  out += U8(u8"水温の記録");
  if (!season.memoUtf8.empty()) {
    out += ' ';
    AppendHtmlEscaped(out, season.memoUtf8);
  }
  out += "</title>\n<style>\n";
  out += kPageStyle;
  out += "</style>\n</head>\n<body>\n";
  Heading(out, season, days, options);
  if (!season.samples.empty()) {
    out += "<figure>\n";
    AppendTemperatureChart(out, season, days);
    Legend(out);
    out += "</figure>\n";
    std::string sum;
    AppendAccumulatedChart(sum, season, days);
    if (!sum.empty()) {
      out += U8(u8"<figure>\n<h2>積算水温</h2>\n");
      out += sum;
      out += "</figure>\n";
    }
    AppendStressDaysSection(out, days, options);
    out += U8(u8"<h2>日ごとの水温</h2>\n");
    DailyTable(out, days);
  }
  out += "</body>\n</html>\n";
  return out;
}

bool WriteSeasonPage(const std::string& path, const Season& season, const DailyOptions& options,
                     std::string* error) {
  return WriteWholeFile(path, FormatSeasonPage(season, options), error);
}

}  // namespace pt::season
