// How far the logger's clock is off, as the console tells it.
#include "season/model/logger_clock.h"

#include <gtest/gtest.h>

namespace pt::season {
namespace {

TEST(LoggerClock, TheDifferenceIsToldInTheUnitsThatMatter) {
  const struct {
    long long seconds;
    const char* text;
  } cases[] = {
      {0, "no difference"},
      {1, "1 s fast"},
      {-59, "59 s slow"},
      {60, "1 min fast"},
      {-185, "3 min 5 s slow"},
      {3599, "59 min 59 s fast"},
      {-(4 * 3600 + 16 * 60 + 59), "4 h 16 min slow"},
      {3600, "1 h fast"},
      {86399, "23 h 59 min fast"},
      {86400, "1 day fast"},
      {-(2 * 86400 + 3 * 3600 + 59), "2 days 3 h slow"},
      {364 * 86400 + 23 * 3600, "364 days 23 h fast"},
      {365 * 86400, "about 1 year fast"},
      {540627364, "about 17 years fast"},
      {-540627364, "about 17 years slow"},
      {-9223372036854775807LL - 1, "about 146138512313 years slow"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClockDifferenceText(c.seconds), c.text) << c.seconds;
}

TEST(LoggerClock, TheComparisonNamesBothClocksAndTheDifference) {
  ClockReading r;
  r.pc = {2008, 10, 20, 9, 30, 0};
  EXPECT_EQ(ClockComparison(r), "logger unread, PC 2008-10-20 09:30:00");
  r.logger = LocalTime{2008, 10, 20, 5, 13, 30};
  EXPECT_EQ(ClockComparison(r), "logger 2008-10-20 05:13:30, PC 2008-10-20 09:30:00 (logger 4 h 16 min slow)");
  r.logger = r.pc;
  EXPECT_EQ(ClockComparison(r), "logger 2008-10-20 09:30:00, PC 2008-10-20 09:30:00 (no difference)");
}

}  // namespace
}  // namespace pt::season
