// How far the logger's clock is off, as the console and the season page tell it.
#include "season/model/logger_clock.h"

#include <gtest/gtest.h>

namespace pt::season {
namespace {

TEST(LoggerClock, TheDifferenceIsToldInTheUnitsThatMatter) {
  const struct {
    long long seconds;
    const char* text;
    const char8_t* page;  // the season page's words
  } cases[] = {
      {0, "no difference", u8"ずれなし"},
      {1, "1 s fast", u8"1 秒進み"},
      {-59, "59 s slow", u8"59 秒遅れ"},
      {60, "1 min fast", u8"1 分進み"},
      {-185, "3 min 5 s slow", u8"3 分 5 秒遅れ"},
      {3599, "59 min 59 s fast", u8"59 分 59 秒進み"},
      {-(4 * 3600 + 16 * 60 + 59), "4 h 16 min slow", u8"4 時間 16 分遅れ"},
      {3600, "1 h fast", u8"1 時間進み"},
      {86399, "23 h 59 min fast", u8"23 時間 59 分進み"},
      {86400, "1 day fast", u8"1 日進み"},
      {-(2 * 86400 + 3 * 3600 + 59), "2 days 3 h slow", u8"2 日 3 時間遅れ"},
      {364 * 86400 + 23 * 3600, "364 days 23 h fast", u8"364 日 23 時間進み"},
      {365 * 86400, "about 1 year fast", u8"約 1 年進み"},
      {540627364, "about 17 years fast", u8"約 17 年進み"},
      {-540627364, "about 17 years slow", u8"約 17 年遅れ"},
      {-9223372036854775807LL - 1, "about 146138512313 years slow", u8"約 146138512313 年遅れ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockDifferenceText(c.seconds), c.text) << c.seconds;
    EXPECT_EQ(ClockDifferenceTextJa(c.seconds), reinterpret_cast<const char*>(c.page)) << c.seconds;
  }
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
