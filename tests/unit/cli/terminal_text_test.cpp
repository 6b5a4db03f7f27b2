// Shift-JIS to and from the terminal's codeset through iconv. (The Windows conversions are
// win32_cli_text_test.cpp's.) Plain literals here are Shift-JIS, like the core's.
#include "platform/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace cli {
namespace {

using pt::TerminalText;

// Texts as a UTF-8 terminal shows them (plain literals here are Shift-JIS, like the core's).
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(TerminalText, ShiftJisToUtf8AndBack) {
  TerminalText utf8("UTF-8");
  struct Case {
    std::string sjis, shown;
  };
  const Case cases[] = {
      {"\xB4\xD7\xB0", U8(u8"ｴﾗｰ")},
      {"\x90\xB3\x8F\xED\x82\xC8\x89\x9E\x93\x9A", U8(u8"正常な応答")},
      {"PADDY\\A~", "PADDY\\A~"},          // CP932 keeps the backslash and the tilde
      {"a\x1b[2Jb\r\n\x7f", "a?[2Jb???"},  // control bytes never reach the terminal
      {"x\x82", "x?"},                     // a lead byte without its trail
      {"\xFF\xFE", "??"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8.ToTerminal(c.sjis), c.shown) << c.shown;

  std::string sjis;
  EXPECT_TRUE(utf8.FromTerminal(U8(u8"田んぼA-2"), sjis));
  EXPECT_EQ(sjis, "\x93\x63\x82\xF1\x82\xDA" "A-2");
  EXPECT_FALSE(utf8.FromTerminal("\xF0\x9F\x98\x80", sjis)) << "an emoji has no Shift-JIS";
  EXPECT_FALSE(utf8.FromTerminal("\xC3", sjis)) << "broken UTF-8";

  TerminalText unknown("NO-SUCH-CODESET");
  EXPECT_TRUE(unknown.FromTerminal("PADDY 1", sjis));
  EXPECT_EQ(sjis, "PADDY 1");
  EXPECT_FALSE(unknown.FromTerminal("\xE7\x94\xB0", sjis));
  EXPECT_EQ(unknown.ToTerminal("OK \xB4\xD7\xB0\x01"), "OK ????");

  TerminalText ascii("ANSI_X3.4-1968");
  EXPECT_EQ(ascii.ToTerminal("OK \xB4\xD7\xB0"), "OK ???");
  EXPECT_FALSE(ascii.FromTerminal("\xE7\x94\xB0", sjis));
  EXPECT_TRUE(ascii.FromTerminal("ABC", sjis));
  EXPECT_EQ(sjis, "ABC");
}

}  // namespace
}  // namespace cli
