#include "report/samples.h"
#include "app/program_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace pt {
namespace {

class SamplesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }
};

struct StampCase {
  const char* stamp;
  int result;
  ReportDate date;  // the date decoded, from {1, 2, 3, 4} before
};

TEST_F(SamplesTest, DecodeStartStampReadsFixedWidthFieldsAfterTheFirstColon) {
  const StampCase cases[] = {
      {"STR:200804141500", 0, {2008, 4, 14, 15}},
      {"Rstr:2008041415xx", 0, {2008, 4, 14, 15}},
      // Only the first colon counts; what follows the hour is never read.
      {"a:200812312359:00", 0, {2008, 12, 31, 23}},
      {"STR:200001010000", 0, {2000, 1, 1, 0}},
      {"STR:200802310000", 0, {2008, 2, 31, 0}},  // the day is not held against its month
      {"STR:200804240000", 0, {2008, 4, 24, 0}},
      // Shorter than 16 bytes: refused untouched, even with a colon and ten good digits.
      {"ST:200804141500", -1, {1, 2, 3, 4}},
      {"STR200804141500xyz", -1, {1, 2, 3, 4}},  // no colon
      {"", -1, {1, 2, 3, 4}},
      // Every component is stored even when a check fails.
      {"STR:199912312300", -1, {1999, 12, 31, 23}},
      {"STR:200800141500", -1, {2008, 0, 14, 15}},
      {"STR:200813141500", -1, {2008, 13, 14, 15}},
      {"STR:200804001500", -1, {2008, 4, 0, 15}},
      {"STR:200804322300", -1, {2008, 4, 32, 23}},
      {"STR:200804142400", -1, {2008, 4, 14, 24}},
      // "%d" inside each field: a sign, leading blanks, and digits cut at the field's width.
      {"STR:2008-10114150", -1, {2008, -1, 1, 14}},
      {"STR:2008 71415000", 0, {2008, 7, 14, 15}},
      {"STR: 2008041415000", -1, {200, 80, 41, 41}},  // the year field is " 200"
      {"STR:20080414 9000", 0, {2008, 4, 14, 9}},
      {"STR:+2008041415000", -1, {200, 80, 41, 41}},
      // Digits stop at a non-digit inside the field; the rest of the field is skipped.
      {"STR:20x80414150000", -1, {20, 4, 14, 15}},
      // A field without a number keeps its old value, and the stamp is refused.
      {"STR:2008ab141500", -1, {2008, 2, 14, 15}},
      {"x-long-prefix:2008", -1, {2008, 2, 3, 4}},  // the text ends inside the month field
      {"0123456789abcde:", -1, {1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    const DecodedStamp decoded = DecodeStartStamp(c.stamp, {1, 2, 3, 4});
    EXPECT_EQ(decoded.result, c.result) << c.stamp;
    EXPECT_EQ(decoded.date.year, c.date.year) << c.stamp;
    EXPECT_EQ(decoded.date.month, c.date.month) << c.stamp;
    EXPECT_EQ(decoded.date.day, c.date.day) << c.stamp;
    EXPECT_EQ(decoded.date.hour, c.date.hour) << c.stamp;
  }
}

TEST_F(SamplesTest, ParseSampleCountConvertsLikePercentD) {
  const struct {
    const char* text;
    int count;  // from 77
  } cases[] = {
      {"120", 120},   {"  \t42abc", 42}, {"-5", -5},      {"+9", 9},       {"0", 0},
      {"", 77},       {"abc", 77},       {"-", 77},       {" + 3", 77},    {"0010000", 10000},
      {"10001", 10001}, {"99999999999", 2147483647},    {"-99999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    Report.SampleCount = 77;
    ParseSampleCount(c.text);
    EXPECT_EQ(Report.SampleCount, c.count) << '"' << c.text << '"';
  }
}

TEST_F(SamplesTest, DecodeSampleWordTakesTheLowHalfInSixteenths) {
  const struct {
    std::uint32_t slot;
    double temperature;
    bool starred;
  } cases[] = {
      {0x0190, 25.0, false},     {0x4194, 25.25, true},      {0xC194, 25.25, false},
      {0x3194, 25.25, false},    {0x0FFF, 255.9375, false},  {0x12340190, 25.0, false},
      {0xFFFF4194, 25.25, true}, {0x0000, 0.0, false},       {0x4000, 0.0, true},
      {0x8000, 0.0, false},      {0x7FFF, 255.9375, true},   {0x0001, 0.0625, false},
      {0x0130, 19.0, false},     {0x0234, 35.25, false},
  };
  for (const auto& c : cases) {
    const std::uint32_t table[3] = {0xDEAD, c.slot, 0xBEEF};
    const DecodedSample s = DecodeSampleWord(table, 1);
    EXPECT_EQ(s.temperature, c.temperature) << std::hex << c.slot;
    EXPECT_EQ(s.starred, c.starred) << std::hex << c.slot;
  }
}

TEST_F(SamplesTest, HeatColourBandsUseTheUnroundedValue) {
  const struct {
    double t;
    const char* colour;
  } cases[] = {
      {0.0, "#D0FFFF"},      {19.9375, "#D0FFFF"}, {19.96, "#D0FFFF"}, {20.0, "#FFFFF0"},
      {24.9375, "#FFFFF0"},  {25.0, "#FFFF00"},    {29.9375, "#FFFF00"}, {30.0, "#FFA500"},
      {34.9375, "#FFA500"},  {35.0, "#FF0000"},    {255.9375, "#FF0000"},
  };
  for (const auto& c : cases) EXPECT_STREQ(HeatColour(c.t), c.colour) << c.t;
}

TEST_F(SamplesTest, ComputeDayStatsGivesMeanMaximumMinimum) {
  const double three[] = {20.0, 30.0, 25.0};
  const double one[] = {19.9375};
  const double zeros[] = {0.0, 0.0};
  const double example[] = {19.0, 25.25};
  const struct {
    const double* values;
    int count;
    DayStats expected;
  } cases[] = {
      {three, 3, {25.0, 30.0, 20.0}},
      {one, 1, {19.9375, 19.9375, 19.9375}},
      {zeros, 2, {0.0, 0.0, 0.0}},
      {example, 2, {22.125, 25.25, 19.0}},
      {three, 0, {-1.0, -1.0, -1.0}},
      {three, -3, {-1.0, -1.0, -1.0}},
  };
  for (const auto& c : cases) {
    const DayStats s = ComputeDayStats(c.values, c.count);
    EXPECT_EQ(s.mean, c.expected.mean) << c.count;
    EXPECT_EQ(s.maximum, c.expected.maximum) << c.count;
    EXPECT_EQ(s.minimum, c.expected.minimum) << c.count;
  }
}

TEST_F(SamplesTest, AdvanceReportDateHasNoLeapYearsAndKeepsTheHour) {
  const struct {
    ReportDate from;
    ReportDate to;
  } cases[] = {
      {{2008, 12, 31, 7}, {2009, 1, 1, 7}},  {{2008, 2, 28, 0}, {2008, 3, 1, 0}},
      {{2008, 4, 30, 5}, {2008, 5, 1, 5}},   {{2008, 1, 31, 23}, {2008, 2, 1, 23}},
      {{2008, 4, 14, 22}, {2008, 4, 15, 22}}, {{2008, 2, 30, 1}, {2008, 3, 1, 1}},
      {{2008, 6, 45, 1}, {2008, 7, 1, 1}},
      // No row of the month table: left alone rather than read out of bounds.
      {{2008, 0, 14, 1}, {2008, 0, 14, 1}},  {{2008, 13, 14, 1}, {2008, 13, 14, 1}},
  };
  for (const auto& c : cases) {
    Report.Date = c.from;
    AdvanceReportDate();
    EXPECT_EQ(Report.Date.year, c.to.year);
    EXPECT_EQ(Report.Date.month, c.to.month);
    EXPECT_EQ(Report.Date.day, c.to.day) << c.from.month << "/" << c.from.day;
    EXPECT_EQ(Report.Date.hour, c.to.hour);
  }
}

}  // namespace
}  // namespace pt
