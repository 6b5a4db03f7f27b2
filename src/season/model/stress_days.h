#pragma once
// The cold and the hot days of a season, as a rice grower reads them: how many, and in which
// spells of days one after another.
#include <vector>

#include "season/model/daily.h"

namespace pt::season {

struct Spell {
  CivilDate first, last;
  int days = 0;
};

struct StressDays {
  int count = 0;
  std::vector<Spell> spells;  // in date order
  const Spell* Longest() const;  // the first of the longest; none without a spell
};

enum class Stress { Cold, Hot };

// The days judged cold (or hot) in `days`; a day that is not, or cannot be told, ends a spell.
StressDays FindStressDays(const std::vector<DailyRow>& days, Stress which);

}  // namespace pt::season
