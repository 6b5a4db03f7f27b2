// The samples' CSV, byte for byte, on the real calendar; and the report's reading of a start.
#include "report_start.h"
#include "season/pages/sample_csv.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "civil_calendar.h"
#include "report/html_report.h"
#include "report/samples.h"

namespace cli {
namespace {

// A season as a download makes it: the start's hour and the words the logger sent, as the
// report decodes them (the upper half of a table word is never sent).
pt::season::Season SeasonOf(CivilHour start, const std::uint32_t* words, int count) {
  pt::season::Season season;
  season.start = start;
  for (int i = 0; i < count; ++i) {
    season.samples.push_back(pt::season::SampleFromWord(static_cast<std::uint16_t>(words[i] & 0xFFFF)));
  }
  return season;
}

TEST(CivilCalendar, HoursRunOnThroughMonthsLeapDaysAndYears) {
  const struct {
    CivilHour from;
    long long hours;
    CivilHour to;
  } cases[] = {
      {{2008, 2, 28, 23}, 1, {2008, 2, 29, 0}},
      {{2009, 2, 28, 23}, 1, {2009, 3, 1, 0}},
      {{2000, 2, 28, 12}, 24, {2000, 2, 29, 12}},
      {{1900 + 200, 2, 28, 12}, 24, {2100, 3, 1, 12}},
      {{2008, 12, 31, 22}, 3, {2009, 1, 1, 1}},
      {{2008, 4, 14, 6}, 9999, {2009, 6, 4, 21}},
      {{2008, 4, 30, 0}, 0, {2008, 4, 30, 0}},
  };
  for (const auto& c : cases) {
    const CivilHour h = AddHours(c.from, c.hours);
    EXPECT_EQ(h.year, c.to.year) << c.hours;
    EXPECT_EQ(h.month, c.to.month) << c.hours;
    EXPECT_EQ(h.day, c.to.day) << c.hours;
    EXPECT_EQ(h.hour, c.to.hour) << c.hours;
  }
  EXPECT_FALSE(IsRealHour({2008, 2, 30, 0}));
  EXPECT_FALSE(IsRealHour({2008, 13, 1, 0}));
  EXPECT_FALSE(IsRealHour({2008, 1, 1, 24}));
  EXPECT_TRUE(IsRealHour({2008, 2, 29, 23}));
}

TEST(SampleCsv, RowsAreByteExactAndRoundLikeTheReport) {
  // Upper halves are ignored; bit 14 alone stars; 25.25 and 25.0625 round up, 25.125 down.
  const std::uint32_t words[] = {0x12340190, 0x4194, 0xC194, 0x3194, 0x0FFF, 0x0192, 0x0191, 0x0000};
  EXPECT_EQ(pt::season::FormatSampleCsv(SeasonOf({2008, 12, 31, 22}, words, 8)),
            "time,temperature_c,no_water,offset_c\n"
            "2008-12-31 22:00,25.0,0,0.0\n"
            "2008-12-31 23:00,25.3,1,0.0\n"
            "2009-01-01 00:00,25.3,0,0.0\n"
            "2009-01-01 01:00,25.3,0,0.0\n"
            "2009-01-01 02:00,255.9,0,0.0\n"
            "2009-01-01 03:00,25.1,0,0.0\n"
            "2009-01-01 04:00,25.1,0,0.0\n"
            "2009-01-01 05:00,0.0,0,0.0\n");
  EXPECT_EQ(pt::season::FormatSampleCsv(SeasonOf({2008, 1, 1, 0}, words, 0)), "time,temperature_c,no_water,offset_c\n");
  EXPECT_EQ(pt::season::FormatSampleCsv(SeasonOf({2008, 1, 1, 0}, words, 1), true),
            "\xEF\xBB\xBFtime,temperature_c,no_water,offset_c\n2008-01-01 00:00,25.0,0,0.0\n");
  // 25.0 - 0.25 = 24.75, rounded up as the report rounds.
  EXPECT_EQ(pt::season::FormatSampleCsv(pt::season::WithOffset(SeasonOf({2008, 1, 1, 0}, words, 1), -0.25)),
            "time,temperature_c,no_water,offset_c\n2008-01-01 00:00,24.8,0,-0.25\n");
}

TEST(SampleCsv, StartHourComesFromTheReportsDecodingAndLeavesItsState) {
  pt::Report = pt::ReportState{};
  pt::Report.Date = {1999, 9, 9, 9};
  CivilHour h;
  EXPECT_TRUE(ReportStartHour("STR:200804142215", h));
  EXPECT_EQ(h.year, 2008);
  EXPECT_EQ(h.month, 4);
  EXPECT_EQ(h.day, 14);
  EXPECT_EQ(h.hour, 22);
  EXPECT_EQ(pt::Report.Date.year, 1999) << "the report's own date is left alone";
  EXPECT_FALSE(ReportStartHour("STR:19990414221", h)) << "15 bytes";
  EXPECT_FALSE(ReportStartHour("STR:200804142415", h));
}

}  // namespace
}  // namespace cli
