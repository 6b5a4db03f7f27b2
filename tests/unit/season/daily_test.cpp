#include "season/model/daily.h"
#include "season/pages/daily_csv.h"

#include <gtest/gtest.h>

#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

using test::Word;

// From 28 February 2008 12:00, sixty hours across the leap day:
//   28 Feb 12-23h: 10.0, but 30.0 without water at 13h      sum 140, 12 hours
//   29 Feb  0-11h: 20.0; 12-23h: 22.5, but 31.0 dry at 14, 15h  sum 527, 24 hours
//    1 Mar: 17.5, but 11.5 dry at 5h                          sum 414, 24 hours
// so the means are 11.666.., 21.958.. and 17.25 (a tie: 17.3), and dry hours left out
// 10.0, 465/22 = 21.136.. and 17.5.
Season TwoAndAHalfDays(bool firstDayDry) {
  std::vector<std::uint16_t> words;
  for (int h = 12; h < 24; ++h) words.push_back(h == 13 ? Word(30.0, true) : Word(10.0, firstDayDry));
  for (int h = 0; h < 24; ++h) words.push_back(h < 12 ? Word(20.0) : h == 14 || h == 15 ? Word(31.0, true) : Word(22.5));
  for (int h = 0; h < 24; ++h) words.push_back(h == 5 ? Word(11.5, true) : Word(17.5));
  return test::SeasonFor(test::RepliesFor("memo", "STR:200802281200", words));
}

TEST(SeasonDaily, WorkedOutByHand) {
  struct Case {
    const char* what;
    DailyOptions options;
    bool firstDayDry;
    bool bom;
    const char* csv;
  };
  const Case cases[] = {
      // The sum is of the exact means: 21.958.. + 17.25 = 39.208.., where rounded means would give 39.3.
      {"base 0", {}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n"
       "2008-02-28,11.7,30.0,10.0,12,1,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,22.0\n"
       "2008-03-01,17.3,17.5,11.5,24,1,39.2\n"},
      {"base 10, with the byte-order mark", {10.0, std::nullopt, false}, false, true,
       "\xEF\xBB\xBF"
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n"
       "2008-02-28,11.7,30.0,10.0,12,1,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,12.0\n"
       "2008-03-01,17.3,17.5,11.5,24,1,19.2\n"},
      // 17.25 - 10 = 7.25 exactly, rounded half up.
      {"base 10 from 1 March", {10.0, CivilDate{2008, 3, 1}, false}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n"
       "2008-02-28,11.7,30.0,10.0,12,1,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,\n"
       "2008-03-01,17.3,17.5,11.5,24,1,7.3\n"},
      {"dry hours left out", {0.0, std::nullopt, true}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n"
       "2008-02-28,10.0,10.0,10.0,12,1,\n"
       "2008-02-29,21.1,22.5,20.0,24,2,21.1\n"
       "2008-03-01,17.5,17.5,17.5,24,1,38.6\n"},
      {"a day without water left out whole", {0.0, CivilDate{2008, 1, 1}, true}, true, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n"
       "2008-02-28,,,,12,12,\n"
       "2008-02-29,21.1,22.5,20.0,24,2,21.1\n"
       "2008-03-01,17.5,17.5,17.5,24,1,38.6\n"},
      {"a base above every mean", {25.0, std::nullopt, false}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days\n"
       "2008-02-28,11.7,30.0,10.0,12,1,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,-3.0\n"
       "2008-03-01,17.3,17.5,11.5,24,1,-10.8\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDailyCsv(ComputeDaily(TwoAndAHalfDays(c.firstDayDry), c.options), c.bom), c.csv) << c.what;
  }
  EXPECT_TRUE(ComputeDaily(Season{}).empty());
}

}  // namespace
}  // namespace pt::season
