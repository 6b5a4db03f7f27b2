#include "logger/commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace pt {
namespace {

std::string Bytes(const char* s, int n) { return std::string(s, static_cast<std::size_t>(n)); }

TEST(CommandsTest, SampleCommandWireBytes) {
  const struct {
    int index;
    const char* wire;
  } cases[] = {
      {0, "\x52\x64\x74\x30\x30\x30\x30\x0D"},
      {1, "\x52\x64\x74\x30\x30\x30\x31\x0D"},
      {2, "\x52\x64\x74\x30\x30\x30\x32\x0D"},
      {9999, "Rdt9999\r"},
      {10000, "Rdt0000\r"},
      {12345, "Rdt2345\r"},
      {-1, "Rdt9999\r"},
      {-10000, "Rdt0000\r"},
      {INT_MAX, "Rdt3647\r"},
      {INT_MIN, "Rdt6352\r"},
  };
  for (const auto& c : cases) {
    char out[kSampleCommandBufferSize];
    std::memset(out, 0x7F, sizeof out);
    const int n = FormatSampleCommand(out, c.index);
    EXPECT_EQ(n, 8) << c.index;
    EXPECT_EQ(Bytes(out, n + 1), std::string(c.wire, 9)) << c.index;  // with its NUL
    EXPECT_EQ(out[9], 0x7F) << "wrote past the command for " << c.index;
  }
}

TEST(CommandsTest, SetClockCommandWireBytes) {
  const struct {
    const char* clock;
    const char* wire;
  } cases[] = {
      {"20260407123000", "Cset20260407123000\r"},
      {"ab cd\x82\xA0xyz!?#$", "Cset" "ab cd\x82\xA0xyz!?#$" "\r"},
      {"2026040712300099", "Cset20260407123000\r"},  // only the 14 characters go out
  };
  for (const auto& c : cases) {
    char out[kCommandBufferSize];
    const int n = FormatSetClockCommand(out, c.clock);
    EXPECT_EQ(n, 19);
    EXPECT_EQ(std::string(out), c.wire);
  }
}

TEST(CommandsTest, PadMemoKeepsDoubleByteCharactersWhole) {
  std::string eightKanji;
  for (int i = 0; i < 8; ++i) eightKanji += "\x93\xFA";
  const struct {
    const char* name;
    std::string memo;
    std::string padded;
  } cases[] = {
      {"short", "abc", "abc             "},
      {"empty", "", std::string(16, ' ')},
      {"exact", "0123456789ABCDEF", "0123456789ABCDEF"},
      {"long", "0123456789ABCDEFGHIJ", "0123456789ABCDEF"},
      {"kanji fits", "01234567890123\x82\xA0", "01234567890123\x82\xA0"},
      {"kanji cut", "012345678901234\x82\xA0", "012345678901234 "},
      {"kanji cut, more after", "012345678901234\x88\x9F" "zz", "012345678901234 "},
      {"eight kanji", eightKanji, eightKanji},
      {"half-width kana is one byte", "\xB1\xB2\xB3", "\xB1\xB2\xB3             "},
      {"lone lead byte at the end", "abc\x82", "abc             "},
  };
  for (const auto& c : cases) {
    char padded[17 + 4];
    std::memset(padded, 0x7F, sizeof padded);
    PadMemo(c.memo.c_str(), padded);
    EXPECT_EQ(Bytes(padded, 17), c.padded + '\0') << c.name;
    EXPECT_EQ(padded[17], 0x7F) << c.name;
  }
}

TEST(CommandsTest, WriteMemoCommandWireBytes) {
  char padded[17];
  PadMemo("abc", padded);
  char out[kCommandBufferSize];
  const int n = FormatWriteMemoCommand(out, padded);
  EXPECT_EQ(n, 21);
  EXPECT_EQ(std::string(out), "Wmemabc             \r");

  PadMemo("\x90\x85\x93\x63\x82\xCC\x89\xB7\x93\x78\x8C\x76 No.7", padded);
  EXPECT_EQ(FormatWriteMemoCommand(out, padded), 21);
  EXPECT_EQ(std::string(out), "Wmem\x90\x85\x93\x63\x82\xCC\x89\xB7\x93\x78\x8C\x76 No.\r");
}

}  // namespace
}  // namespace pt
