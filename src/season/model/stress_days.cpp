#include "season/model/stress_days.h"

namespace pt::season {

const Spell* StressDays::Longest() const {
  const Spell* longest = nullptr;
  for (const Spell& s : spells) {
    if (longest == nullptr || s.days > longest->days) longest = &s;
  }
  return longest;
}

StressDays FindStressDays(const std::vector<DailyRow>& days, Stress which) {
  StressDays out;
  bool inSpell = false;
  for (const DailyRow& d : days) {
    const std::optional<bool>& judged = which == Stress::Cold ? d.cold : d.hot;
    if (!judged.value_or(false)) {
      inSpell = false;
      continue;
    }
    ++out.count;
    if (!inSpell) out.spells.push_back({d.date, d.date, 0});
    out.spells.back().last = d.date;
    ++out.spells.back().days;
    inSpell = true;
  }
  return out;
}

}  // namespace pt::season
