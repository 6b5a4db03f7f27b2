#pragma once
// The crop's stages a water temperature matters most in, from the two dates a grower knows: the
// day the field was transplanted and the day it headed (出穂). The windows are the common
// guidance of extension offices; where one would fall on a day of both kinds, the one counted
// from heading wins, since it is the later and the surer date.
#include <optional>

#include "season/model/calendar.h"

namespace pt::season {

enum class Stage {
  None,
  Rooting,            // 活着期: the first 7 days after transplanting
  PanicleInitiation,  // 幼穂形成期: 30 to 16 days before heading
  Booting,            // 穂ばらみ期: 15 to 1 days before heading
  Heading,            // 出穂期: heading and the 4 days after it
  EarlyRipening,      // 登熟初期: 5 to 24 days after heading
};

inline constexpr Stage kStages[] = {Stage::Rooting, Stage::PanicleInitiation, Stage::Booting, Stage::Heading,
                                    Stage::EarlyRipening};

struct StageDates {
  std::optional<CivilDate> transplanted, heading;
  bool Any() const { return transplanted || heading; }
  friend bool operator==(const StageDates&, const StageDates&) = default;
};

// Whether `stage` is counted from heading (the rest, rooting, from transplanting).
inline bool FromHeading(Stage stage) { return stage != Stage::Rooting && stage != Stage::None; }

// The stage of `day`; None outside every window and when no date is given.
Stage StageOf(const CivilDate& day, const StageDates& dates);

// "rooting", "panicle_initiation", ...: the CSV's names; "" for None.
const char* StageKey(Stage stage);
// 活着期, 幼穂形成期, ... in UTF-8; "" for None.
const char* StageNameJa(Stage stage);

}  // namespace pt::season
