// The Windows pieces of paddytherm-cli that decide bytes: the port name opened, the memo's
// Shift-JIS from a UTF-8 command line, the reply shown, and the paths printed.
#include <gtest/gtest.h>

#include "path_join.h"
#include "serial/path_serial_device.h"
#include "platform/terminal_text.h"

namespace cli {
namespace {

using pt::DevicePathFor;
using pt::TerminalText;

TEST(Win32Cli, PortNames) {
  const struct {
    const char* given;
    const char* opened;
  } cases[] = {
      {"COM1", "\\\\.\\COM1"},     {"COM10", "\\\\.\\COM10"},   {"com256", "\\\\.\\com256"},
      {"COM257", "COM257"},        {"COM0", "COM0"},            {"COM03", "COM03"},
      {"COM", "COM"},              {"COM1:", "COM1:"},          {"\\\\.\\COM12", "\\\\.\\COM12"},
      {"\\\\.\\CNCA0", "\\\\.\\CNCA0"},
  };
  for (const auto& c : cases) EXPECT_EQ(DevicePathFor(c.given), c.opened) << c.given;
}

TEST(Win32Cli, MemoToShiftJis) {
  const TerminalText text(TerminalText::LocaleCodeset());
  const struct {
    const char* utf8;
    bool ok;
    const char* sjis;
  } cases[] = {
      {"", true, ""},
      {reinterpret_cast<const char*>(u8"田んぼA-2"), true, "\x93\x63\x82\xF1\x82\xDA" "A-2"},
      {reinterpret_cast<const char*>(u8"①～"), true, "\x87\x40\x81\x60"},  // NEC row 13, wave dash of 932
      {reinterpret_cast<const char*>(u8"稲🌾"), false, ""},                 // outside the BMP
      {reinterpret_cast<const char*>(u8"café"), false, ""},                 // no best fit to "cafe"
      {"\xFF\xFE", false, ""},                                               // no UTF-8
  };
  for (const auto& c : cases) {
    std::string sjis = "left over";
    EXPECT_EQ(text.FromTerminal(c.utf8, sjis), c.ok) << c.utf8;
    if (c.ok) {
      EXPECT_EQ(sjis, c.sjis) << c.utf8;
    }
  }
}

TEST(Win32Cli, ReplyShownAsUtf8) {
  const TerminalText text(TerminalText::LocaleCodeset());
  EXPECT_EQ(text.ToTerminal("\x93\x63\x82\xF1\x82\xDA" "A-2"), reinterpret_cast<const char*>(u8"田んぼA-2"));
  // Line noise never reaches the console as control bytes.
  EXPECT_EQ(text.ToTerminal("\nOK\x1b[2J\r"), "?OK?[2J?");
}

TEST(Win32Cli, PathsInWindowsSpelling) {
  EXPECT_EQ(JoinPath("", "tavovalu.html"), "tavovalu.html");
  EXPECT_EQ(JoinPath("C:\\paddy", "tavovalu.html"), "C:\\paddy\\tavovalu.html");
  EXPECT_EQ(JoinPath("C:\\paddy\\", "tavovalu.html"), "C:\\paddy\\tavovalu.html");
  EXPECT_EQ(JoinPath("C:/paddy/", "tavovalu.html"), "C:/paddy/tavovalu.html");
  EXPECT_EQ(JoinPath("D:", "tavovalu.html"), "D:tavovalu.html");
}

}  // namespace
}  // namespace cli
