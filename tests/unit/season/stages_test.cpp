#include "season/model/stages.h"

#include <gtest/gtest.h>

namespace pt::season {
namespace {

CivilDate Plus(const CivilDate& d, int days) { return DateOfDayNumber(DayNumber(d) + days); }

// Each window on the days either side of its edges, counted from heading on 2008-08-05 and from
// transplanting on 2008-05-10; and the heading's windows winning where both would apply.
TEST(Stages, EdgesOfEveryWindow) {
  const CivilDate heading{2008, 8, 5}, transplanted{2008, 5, 10};
  const StageDates both{transplanted, heading};
  const struct {
    CivilDate from;
    int offset;
    Stage stage;
  } cases[] = {
      {transplanted, -1, Stage::None},    {transplanted, 0, Stage::Rooting},
      {transplanted, 6, Stage::Rooting},  {transplanted, 7, Stage::None},
      {heading, -31, Stage::None},        {heading, -30, Stage::PanicleInitiation},
      {heading, -16, Stage::PanicleInitiation}, {heading, -15, Stage::Booting},
      {heading, -1, Stage::Booting},      {heading, 0, Stage::Heading},
      {heading, 4, Stage::Heading},       {heading, 5, Stage::EarlyRipening},
      {heading, 24, Stage::EarlyRipening}, {heading, 25, Stage::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StageOf(Plus(c.from, c.offset), both), c.stage) << StageKey(c.stage) << " at " << c.offset;
  }
  EXPECT_EQ(StageOf(heading, {}), Stage::None);
  EXPECT_EQ(StageOf(Plus(heading, -20), {Plus(heading, -22), heading}), Stage::PanicleInitiation)
      << "heading's window wins over rooting";
  EXPECT_EQ(StageOf(Plus(heading, -20), {Plus(heading, -22), std::nullopt}), Stage::Rooting);
  EXPECT_STREQ(StageKey(Stage::PanicleInitiation), "panicle_initiation");
  EXPECT_STREQ(StageNameJa(Stage::Booting), reinterpret_cast<const char*>(u8"穂ばらみ期"));
}

}  // namespace
}  // namespace pt::season
