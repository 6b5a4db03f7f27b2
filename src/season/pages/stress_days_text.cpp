#include "season/pages/stress_days_text.h"

#include "season/pages/csv_text.h"
#include "season/pages/page_text.h"

namespace pt::season {

namespace {

void StressLine(std::string& out, const StressDays& found) {
  if (found.count == 0) {
    out += U8(u8"　なし");
    return;
  }
  out += U8(u8"　<strong>");
  AppendInt(out, found.count);
  out += U8(u8" 日</strong>");
  const Spell& longest = *found.Longest();
  if (longest.days > 1) {
    out += U8(u8"　最長 ");
    AppendInt(out, longest.days);
    out += U8(u8" 日連続（");
    out += SpellText(longest);
    out += U8(u8"）");
  }
  // One spell is said in full above already.
  if (found.spells.size() == 1 && longest.days > 1) return;
  out += U8(u8"<br>\n<span class=\"dates\">");
  for (std::size_t i = 0; i < found.spells.size(); ++i) {
    if (i > 0) out += U8(u8"、");
    out += SpellText(found.spells[i]);
  }
  out += "</span>";
}

}  // namespace

std::string SpellText(const Spell& spell) {
  if (spell.days == 1) return DateText(spell.first);
  return DateText(spell.first) + U8(u8"〜") + DateText(spell.last);
}

void AppendStressDaysSection(std::string& out, const std::vector<DailyRow>& days, const DailyOptions& options) {
  out += U8(u8"<h2>低温日と高温日</h2>\n<p class=\"stress\">低温日（日平均 ");
  AppendDecimalCell(out, options.coldBelow);
  out += U8(u8" ℃ 未満）");
  StressLine(out, FindStressDays(days, Stress::Cold));
  out += U8(u8"<br>\n高温日（日最高 ");
  AppendDecimalCell(out, options.hotFrom);
  out += U8(u8" ℃ 以上）");
  StressLine(out, FindStressDays(days, Stress::Hot));
  out += U8(u8"</p>\n<p class=\"note\">低温・高温の目安の温度は、"
            u8"稲の生育段階と品種によって異なります。日平均はその日の毎時の水温の平均です。"
            u8"24 時間そろわない日は「不完全」とし、積算水温にも低温日にも数えません"
            u8"（最高が目安に達していれば高温日に数えます）。</p>\n");
}

}  // namespace pt::season
