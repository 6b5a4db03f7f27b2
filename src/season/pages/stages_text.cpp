#include "season/pages/stages_text.h"

#include <algorithm>

#include "season/model/milestones.h"
#include "season/model/stress_days.h"
#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"
#include "season/pages/svg_chart.h"

namespace pt::season {

namespace {

// One stage's row: its dates inside the record, its days, and the means of its complete days (a
// part day's mean is no day's mean).
void StageRow(std::string& out, Stage stage, const std::vector<DailyRow>& days) {
  std::vector<DailyRow> in;
  for (const DailyRow& d : days) {
    if (d.stage == stage) in.push_back(d);
  }
  out += "<tr><td class=\"mark\">";
  out += StageNameJa(stage);
  out += "</td><td class=\"mark\">";
  out += DateText(in.front().date);
  out += U8(u8"〜");
  out += DateText(in.back().date);
  out += "</td><td>";
  AppendInt(out, static_cast<long long>(in.size()));
  double sum = 0.0;
  int complete = 0;
  std::optional<double> lowest;
  for (const DailyRow& d : in) {
    if (!d.Complete() || !d.mean) continue;
    sum += *d.mean;
    ++complete;
    lowest = lowest ? std::min(*lowest, *d.mean) : *d.mean;
  }
  out += "</td><td>";
  AppendDecimalCell(out, complete > 0 ? std::optional<double>(sum / complete) : std::nullopt);
  out += "</td><td>";
  AppendDecimalCell(out, lowest);
  for (const Stress which : {Stress::Cold, Stress::Hot}) {
    out += "</td><td>";
    AppendInt(out, FindStressDays(in, which).count);
  }
  out += "</td></tr>\n";
}

void HeadingSums(std::string& out, const Season& season, const DailyOptions& options) {
  DailyOptions fromHeading = options;
  fromHeading.base = 0.0;
  fromHeading.from = options.stages.heading;
  const std::vector<DailyRow> days = ComputeDaily(season, fromHeading);
  const std::vector<double> sums(std::begin(kHeadingSums), std::end(kHeadingSums));
  const std::vector<std::optional<CivilDate>> dates = MilestoneDates(days, sums);
  out += U8(u8"<div>\n<h2>出穂後の積算水温</h2>\n<table>\n<thead><tr><th>積算水温</th><th>到達日</th><th>日数</th>"
            u8"</tr></thead>\n<tbody>\n");
  for (std::size_t i = 0; i < sums.size(); ++i) {
    out += "<tr><td>";
    out += Number("%g", sums[i]);
    out += U8(u8" ℃・日</td><td>");
    if (dates[i]) {
      out += DateText(*dates[i]);
      out += "</td><td>";
      AppendInt(out, DayNumber(*dates[i]) - DayNumber(*options.stages.heading) + 1);
      out += U8(u8"日目");
    } else {
      out += U8(u8"未到達</td><td>");
    }
    out += "</td></tr>\n";
  }
  out += U8(u8"</tbody>\n</table>\n<p class=\"note\">出穂の日を1日目として、24 時間そろった日の日平均水温を"
            u8"（基準 0 ℃ で）足したものです。<br>刈り取りの目安は出穂後の日平均<strong>気温</strong>の積算"
            u8"（品種により 1000 ℃・日前後）で、この水温の積算は比べるための参考です。</p>\n</div>\n");
}

}  // namespace

void AppendStagesSection(std::string& out, const Season& season, const std::vector<DailyRow>& days,
                         const DailyOptions& options) {
  if (!options.stages.Any() || days.empty()) return;
  out += U8(u8"<section class=\"stages\">\n<div class=\"summary\">\n<div>\n<h2>生育段階ごとの水温</h2>\n"
            u8"<table>\n<thead><tr><th>生育段階</th><th>期間</th><th>日数</th><th>日平均の平均</th>"
            u8"<th>日平均の最低</th><th>低温日</th><th>高温日</th></tr></thead>\n<tbody>\n");
  std::string outside;
  for (const Stage stage : kStages) {
    // Only the stages the dates given lead to: rooting from transplanting, the rest from heading.
    if (FromHeading(stage) ? !options.stages.heading : !options.stages.transplanted) continue;
    if (std::none_of(days.begin(), days.end(), [&](const DailyRow& d) { return d.stage == stage; })) {
      outside += outside.empty() ? "" : U8(u8"・");
      outside += StageNameJa(stage);
      continue;
    }
    StageRow(out, stage, days);
  }
  out += "</tbody>\n</table>\n";
  out += U8(u8"<p class=\"note\">");
  if (options.stages.transplanted) {
    out += U8(u8"田植え ");
    out += DateText(*options.stages.transplanted);
    out += U8(u8"　");
  }
  if (options.stages.heading) {
    out += U8(u8"出穂 ");
    out += DateText(*options.stages.heading);
    out += U8(u8"　");
  }
  if (!outside.empty()) {
    out += outside;
    out += U8(u8"は記録の外です。");
  }
  out += U8(u8"<br>日平均の平均と最低は 24 時間そろった日から。生育段階の区切り（活着期は田植えから 7 日、"
            u8"幼穂形成期は出穂の 30〜16 日前、穂ばらみ期は 15〜1 日前、出穂期は出穂から 5 日、登熟初期はその後 20 日）は"
            u8"一般的な目安で、地域と品種によって異なります。</p>\n</div>\n");
  if (options.stages.heading) HeadingSums(out, season, options);
  out += "</div>\n</section>\n";
}

}  // namespace pt::season
