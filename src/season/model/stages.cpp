#include "season/model/stages.h"

namespace pt::season {

Stage StageOf(const CivilDate& day, const StageDates& dates) {
  const std::int64_t d = DayNumber(day);
  if (dates.heading) {
    const std::int64_t k = d - DayNumber(*dates.heading);
    if (k >= -30 && k < -15) return Stage::PanicleInitiation;
    if (k >= -15 && k < 0) return Stage::Booting;
    if (k >= 0 && k < 5) return Stage::Heading;
    if (k >= 5 && k < 25) return Stage::EarlyRipening;
  }
  if (dates.transplanted) {
    const std::int64_t t = d - DayNumber(*dates.transplanted);
    if (t >= 0 && t < 7) return Stage::Rooting;
  }
  return Stage::None;
}

const char* StageKey(Stage stage) {
  switch (stage) {
    case Stage::Rooting: return "rooting";
    case Stage::PanicleInitiation: return "panicle_initiation";
    case Stage::Booting: return "booting";
    case Stage::Heading: return "heading";
    case Stage::EarlyRipening: return "early_ripening";
    case Stage::None: break;
  }
  return "";
}

const char* StageNameJa(Stage stage) {
  switch (stage) {
    case Stage::Rooting: return reinterpret_cast<const char*>(u8"活着期");
    case Stage::PanicleInitiation: return reinterpret_cast<const char*>(u8"幼穂形成期");
    case Stage::Booting: return reinterpret_cast<const char*>(u8"穂ばらみ期");
    case Stage::Heading: return reinterpret_cast<const char*>(u8"出穂期");
    case Stage::EarlyRipening: return reinterpret_cast<const char*>(u8"登熟初期");
    case Stage::None: break;
  }
  return "";
}

}  // namespace pt::season
