#include "logger/text_numbers.h"

#include <gtest/gtest.h>

#include <string>

namespace pt {
namespace {

TEST(CheckReplies, OnlyAWellFormedNumberCounts) {
  struct Case {
    std::string reply;
    bool sampleCounts;
    std::uint32_t sample;
    bool pointerCounts;
    std::int32_t pointer;
  } const cases[] = {
      {"\n1A2F\r", true, 0x1A2F, false, 0},
      {"\n1A2F\r\n", true, 0x1A2F, false, 0},  // a logger that ends its lines with CR LF
      {"1a2f\r", true, 0x1A2F, false, 0},
      {"\n0x4194\r", true, 0x4194, false, 0},
      {"\nFFFFFFFF\r", true, 0xFFFFFFFFu, false, 0},
      {"\n120\r", true, 0x120, true, 120},
      {"\n0\r", true, 0, true, 0},
      {"\n10000\r", true, 0x10000, true, 10000},
      {"\n12000\r", true, 0x12000, true, 12000},  // well formed; too large is the job's to judge
      {"\n99999999999\r", false, 0, true, INT32_MAX},
      {" \t\n7 \r", true, 7, true, 7},
      {"\n123456789\r", false, 0, true, 123456789},  // nine hex digits are no sample
      {"\r", false, 0, false, 0},
      {"\n\r", false, 0, false, 0},
      {"\n0x\r", false, 0, false, 0},
      {"\n4Z94\r", false, 0, false, 0},
      {"X\n4194\r", false, 0, false, 0},
      {"7\n4194\r", false, 0, false, 0},   // a stray digit that "%x" would have read as 7
      {"7\n200\r", false, 0, false, 0},    // line breaks are no part of a number
      {"\n41\x94" "4\r", false, 0, false, 0},
      {"\n-4\r", false, 0, false, 0},
      {"\n+4\r", false, 0, false, 0},
      {"\n4194\rX", false, 0, false, 0},  // bytes after the CR in the same read
      {"\r4194\r", false, 0, false, 0},   // the reply had ended before the number
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    std::uint32_t sample = 0xDEAD;
    std::int32_t pointer = -77;
    EXPECT_EQ(CheckSampleReply(c.reply.c_str(), &sample), c.sampleCounts);
    EXPECT_EQ(sample, c.sampleCounts ? c.sample : 0xDEADu);
    EXPECT_EQ(CheckPointerReply(c.reply.c_str(), &pointer), c.pointerCounts);
    EXPECT_EQ(pointer, c.pointerCounts ? c.pointer : -77);
  }
}

}  // namespace
}  // namespace pt
