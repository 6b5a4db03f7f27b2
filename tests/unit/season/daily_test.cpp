#include "season/model/daily.h"
#include "season/model/stress_days.h"
#include "season/pages/daily_csv.h"
#include "season/pages/stress_days_text.h"

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
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n"
       "2008-02-28,11.7,30.0,10.0,12,1,,0,,,0.0,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,22.0,1,0,0,0.0,\n"
       "2008-03-01,17.3,17.5,11.5,24,1,39.2,1,0,0,0.0,\n"},
      {"base 10, with the byte-order mark", {10.0, std::nullopt, false}, false, true,
       "\xEF\xBB\xBF"
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n"
       "2008-02-28,11.7,30.0,10.0,12,1,,0,,,0.0,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,12.0,1,0,0,0.0,\n"
       "2008-03-01,17.3,17.5,11.5,24,1,19.2,1,0,0,0.0,\n"},
      // 17.25 - 10 = 7.25 exactly, rounded half up.
      {"base 10 from 1 March", {10.0, CivilDate{2008, 3, 1}, false}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n"
       "2008-02-28,11.7,30.0,10.0,12,1,,0,,,0.0,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,,1,0,0,0.0,\n"
       "2008-03-01,17.3,17.5,11.5,24,1,7.3,1,0,0,0.0,\n"},
      {"dry hours left out", {0.0, std::nullopt, true}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n"
       "2008-02-28,10.0,10.0,10.0,12,1,,0,,,0.0,\n"
       "2008-02-29,21.1,22.5,20.0,24,2,21.1,1,0,0,0.0,\n"
       "2008-03-01,17.5,17.5,17.5,24,1,38.6,1,0,0,0.0,\n"},
      {"a day without water left out whole", {0.0, CivilDate{2008, 1, 1}, true}, true, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n"
       "2008-02-28,,,,12,12,,0,,,0.0,\n"
       "2008-02-29,21.1,22.5,20.0,24,2,21.1,1,0,0,0.0,\n"
       "2008-03-01,17.5,17.5,17.5,24,1,38.6,1,0,0,0.0,\n"},
      {"a base above every mean", {25.0, std::nullopt, false}, false, false,
       "date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,cold_day,hot_day,offset_c,stage\n"
       "2008-02-28,11.7,30.0,10.0,12,1,,0,,,0.0,\n"
       "2008-02-29,22.0,31.0,20.0,24,2,-3.0,1,0,0,0.0,\n"
       "2008-03-01,17.3,17.5,11.5,24,1,-10.8,1,0,0,0.0,\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDailyCsv(TwoAndAHalfDays(c.firstDayDry), c.options, c.bom), c.csv) << c.what;
  }
  EXPECT_TRUE(ComputeDaily(Season{}).empty());
}

// From 1 May 2008 18:00 to 7 May 04:00, one day's kind each:
//   1 May  6 hours: 36.0 at 18h, else 14.0      incomplete, yet its maximum is known to be hot
//   2 May  16.0     3 May  16.5                 cold, cold
//   4 May  16.0 till noon, 18.0 after           mean 17.0: not below 17
//   5 May  16.5                                 cold
//   6 May  20.0, but 35.0 at 13h                mean 20.625, reaches 35: hot
//   7 May  5 hours at 30.0                      incomplete, neither cold nor hot can be told
Season AWeekOfKinds() {
  std::vector<std::uint16_t> words;
  for (int h = 18; h < 24; ++h) words.push_back(Word(h == 18 ? 36.0 : 14.0));
  for (double day : {16.0, 16.5}) words.insert(words.end(), 24, Word(day));
  for (int h = 0; h < 24; ++h) words.push_back(Word(h < 12 ? 16.0 : 18.0));
  words.insert(words.end(), 24, Word(16.5));
  for (int h = 0; h < 24; ++h) words.push_back(Word(h == 13 ? 35.0 : 20.0));
  words.insert(words.end(), 5, Word(30.0));
  return test::SeasonFor(test::RepliesFor("memo", "STR:200805011800", words));
}

std::string Spells(const StressDays& found) {
  std::string out = std::to_string(found.count);
  out += ':';
  for (const Spell& s : found.spells) {
    out += ' ';
    out += SpellText(s);
  }
  return out;
}

TEST(SeasonDaily, ColdHotIncompleteAndOffsetWorkedOutByHand) {
  struct Case {
    const char* what;
    double offset, cold, hot;
    const char* csv;
    const char* coldDays;
    const char* hotDays;
    std::optional<CivilDate> heading{};  // the stage column: booting before it, heading from it
  };
  const Case cases[] = {
      {"as read", 0.0, 17.0, 35.0,
       "2008-05-01,17.7,36.0,14.0,6,0,,0,,1,0.0,booting\n"
       "2008-05-02,16.0,16.0,16.0,24,0,16.0,1,1,0,0.0,booting\n"
       "2008-05-03,16.5,16.5,16.5,24,0,32.5,1,1,0,0.0,heading\n"
       "2008-05-04,17.0,18.0,16.0,24,0,49.5,1,0,0,0.0,heading\n"
       "2008-05-05,16.5,16.5,16.5,24,0,66.0,1,1,0,0.0,heading\n"
       "2008-05-06,20.6,35.0,20.0,24,0,86.6,1,0,1,0.0,heading\n"
       "2008-05-07,30.0,30.0,30.0,5,0,,0,,,0.0,heading\n",
       "3: 2008-05-02〜2008-05-03 2008-05-05", "2: 2008-05-01 2008-05-06", CivilDate{2008, 5, 3}},
      // A degree more: no mean stays below 17, every maximum moves up with the rest.
      {"one degree added", 1.0, 17.0, 35.0,
       "2008-05-01,18.7,37.0,15.0,6,0,,0,,1,1.0,\n"
       "2008-05-02,17.0,17.0,17.0,24,0,17.0,1,0,0,1.0,\n"
       "2008-05-03,17.5,17.5,17.5,24,0,34.5,1,0,0,1.0,\n"
       "2008-05-04,18.0,19.0,17.0,24,0,52.5,1,0,0,1.0,\n"
       "2008-05-05,17.5,17.5,17.5,24,0,70.0,1,0,0,1.0,\n"
       "2008-05-06,21.6,36.0,21.0,24,0,91.6,1,0,1,1.0,\n"
       "2008-05-07,31.0,31.0,31.0,5,0,,0,,,1.0,\n",
       "0:", "2: 2008-05-01 2008-05-06"},
      // A quarter off, against 18 and 36: 6 May's mean 489/24 = 20.375; 1 May's 35.75 falls short of
      // 36 on an incomplete day, which cannot then be told.
      {"a quarter taken off, other thresholds", -0.25, 18.0, 36.0,
       "2008-05-01,17.4,35.8,13.8,6,0,,0,,,-0.25,\n"
       "2008-05-02,15.8,15.8,15.8,24,0,15.8,1,1,0,-0.25,\n"
       "2008-05-03,16.3,16.3,16.3,24,0,32.0,1,1,0,-0.25,\n"
       "2008-05-04,16.8,17.8,15.8,24,0,48.8,1,1,0,-0.25,\n"
       "2008-05-05,16.3,16.3,16.3,24,0,65.0,1,1,0,-0.25,\n"
       "2008-05-06,20.4,34.8,19.8,24,0,85.4,1,0,0,-0.25,\n"
       "2008-05-07,29.8,29.8,29.8,5,0,,0,,,-0.25,\n",
       "4: 2008-05-02〜2008-05-05", "0:"},
  };
  const Season read = AWeekOfKinds();
  for (const Case& c : cases) {
    DailyOptions options;
    options.coldBelow = c.cold;
    options.hotFrom = c.hot;
    options.stages.heading = c.heading;
    const Season corrected = WithOffset(read, c.offset);
    EXPECT_EQ(FormatDailyCsv(corrected, options), std::string(kDailyCsvHeader) + c.csv) << c.what;
    const std::vector<DailyRow> days = ComputeDaily(corrected, options);
    EXPECT_EQ(Spells(FindStressDays(days, Stress::Cold)), c.coldDays) << c.what;
    EXPECT_EQ(Spells(FindStressDays(days, Stress::Hot)), c.hotDays) << c.what;
    EXPECT_EQ(corrected.samples.front().word, read.samples.front().word) << "the logger's word stays";
  }
}

}  // namespace
}  // namespace pt::season
