#include "platform/sjis.h"

#include <gtest/gtest.h>

#include <string>

namespace pt {
namespace {

struct BoundedCase {
  const char* src;
  int size;
  const char* expected;
};

TEST(CopySjisBounded, CutsLikeGetDlgItemTextButNeverSplitsACharacter) {
  const BoundedCase cases[] = {
      {"ABCDEFGHIJKLMNOPQRS", 17, "ABCDEFGHIJKLMNOP"},
      {"ABC", 17, "ABC"},
      {"", 17, ""},
      {"ABC", 1, ""},
      // "メモ" is 83 81 83 82: a buffer of 4 holds one character and not half of the second.
      {"メモ", 4, "メ"},
      {"メモ", 5, "メモ"},
      // Fifteen ASCII bytes and a double-byte character: only 16 bytes fit in 17, so the kana goes.
      {"ABCDEFGHIJKLMNOメ", 17, "ABCDEFGHIJKLMNO"},
      // Half-width katakana are single bytes.
      {"ｴﾗｰ", 3, "ｴﾗ"},
  };
  for (const auto& c : cases) {
    char buf[64];
    std::fill(std::begin(buf), std::end(buf), '#');
    const int n = CopySjisBounded(buf, c.size, c.src);
    EXPECT_EQ(std::string(buf), c.expected) << c.src << " size " << c.size;
    EXPECT_EQ(n, static_cast<int>(std::string(c.expected).size()));
    EXPECT_EQ(buf[c.size], '#') << "wrote past the buffer";
  }
}

TEST(SourceEncoding, FixedTextsAreShiftJis) {
  EXPECT_EQ(std::string("―"), "\x81\x5C");
  EXPECT_EQ(std::string("ｴﾗｰ"), "\xB4\xD7\xB0");
  EXPECT_EQ(std::string("｜"), "\x81\x62");
}

}  // namespace
}  // namespace pt
