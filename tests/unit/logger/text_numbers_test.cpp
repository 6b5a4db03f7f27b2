#include "logger/text_numbers.h"

#include <gtest/gtest.h>

namespace pt {
namespace {

TEST(ParseLeadingDecimal, ReadsLikePercentDWithoutOverflow) {
  struct Case {
    const char* text;
    bool found;
    std::int32_t value;
  } const cases[] = {
      {"120", true, 120},      {"\n120\r", true, 120},  {"  -5", true, -5},      {"+7x", true, 7},
      {"0", true, 0},          {"abc", false, 0},       {"", false, 0},          {"- 5", false, 0},
      {"12000", true, 12000},  {"99999999999999", true, INT32_MAX},            {"-99999999999", true, INT32_MIN},
  };
  for (const auto& c : cases) {
    std::int32_t v = 4242;
    EXPECT_EQ(ParseLeadingDecimal(c.text, &v), c.found) << c.text;
    EXPECT_EQ(v, c.found ? c.value : 4242) << c.text;  // no number: the value is left alone
  }
}

TEST(ParseLeadingHex, ReadsLikePercentX) {
  struct Case {
    const char* text;
    bool found;
    std::uint32_t value;
  } const cases[] = {
      {"1A2F\r", true, 0x1A2F},     {"\n1a2f\r", true, 0x1A2F}, {"0x4194", true, 0x4194},
      {"0X10", true, 0x10},         {"0xg", true, 0},           {"-1", true, 0xFFFFFFFFu},
      {"123456789", true, 0x23456789u},  // the low 32 bits of a longer number
      {"\r", false, 0},             {"zz", false, 0},           {"", false, 0},
  };
  for (const auto& c : cases) {
    std::uint32_t v = 0xDEAD;
    EXPECT_EQ(ParseLeadingHex(c.text, &v), c.found) << c.text;
    EXPECT_EQ(v, c.found ? c.value : 0xDEADu) << c.text;
  }
}

}  // namespace
}  // namespace pt
