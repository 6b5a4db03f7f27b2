#include "report/decimal_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace pt {
namespace {

std::string Format(double v) {
  char buf[kDecimalTextSize];
  const int n = FormatOneDecimal(v, buf, sizeof buf);
  EXPECT_EQ(n, static_cast<int>(std::string(buf).size()));
  return buf;
}

TEST(FormatOneDecimal, RoundsHalfUpOnTheExactValue) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {25.25, "25.3"},      {25.75, "25.8"},     {25.125, "25.1"},  {25.0625, "25.1"},
      {255.9375, "255.9"},  {22.125, "22.1"},    {19.96, "20.0"},   {0.0, "0.0"},
      {0.05, "0.1"},        // 0.05 is stored a little above one twentieth
      {0.15, "0.1"},        // and 0.15 a little below three twentieths
      {0.25, "0.3"},        {0.75, "0.8"},       {19.25, "19.3"},   {34.9375, "34.9"},
      {35.25, "35.3"},      {9.95, "9.9"},       {9.96, "10.0"},    {99.95, "100.0"},
      {-1.0, "-1.0"},       {-25.25, "-25.3"},   {1e-300, "0.0"},   {4.9e-324, "0.0"},
      {1e22, "10000000000000000000000.0"},       {9007199254740993.0, "9007199254740992.0"},
      {18446744073709551616.0, "18446744073709551616.0"},
      {INFINITY, "inf"},    {-INFINITY, "-inf"}, {NAN, "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.value), c.text) << c.value;
}

// Away from exact ties (odd multiples of a quarter), printf's rounding is the same as ours, so it
// checks every digit, large integers included.
TEST(FormatOneDecimal, AgreesWithPrintfExceptOnTies) {
  std::mt19937_64 random(20080414);
  std::uniform_real_distribution<double> small(0.0, 300.0);
  std::uniform_int_distribution<int> exponent(-60, 1020);
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    double v = small(random);
    if (i % 2 == 1) v = std::ldexp(0.5 + small(random) / 600.0, exponent(random));
    if (i % 5 == 0) v = std::round(v * 16) / 16;  // sample values, many of them ties
    const double quarters = v * 4;
    if (quarters < 9e15 && std::floor(quarters) == quarters && std::fmod(quarters, 2.0) == 1.0) continue;
    static char expected[400];
    std::snprintf(expected, sizeof expected, "%.1f", v);
    ASSERT_EQ(Format(v), expected) << i;
    ++compared;
  }
  EXPECT_GT(compared, 15000);
}

TEST(FormatOneDecimal, LargestDoubleFitsAndShortBuffersAreRefused) {
  char expected[400];
  std::snprintf(expected, sizeof expected, "%.1f", DBL_MAX);
  EXPECT_EQ(Format(DBL_MAX), expected);

  char buf[5];
  EXPECT_EQ(FormatOneDecimal(25.25, buf, 5), 4);
  EXPECT_STREQ(buf, "25.3");
  EXPECT_EQ(FormatOneDecimal(255.9375, buf, 5), -1);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(FormatOneDecimal(1.0, buf, 0), -1);
}

}  // namespace
}  // namespace pt
