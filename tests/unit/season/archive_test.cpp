#include "season/io/archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "season/io/crc32.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

using test::RepliesFor;
using test::SeasonFor;

const Readout kReadout{{2008, 10, 20, 9, 30, 5}, -210, "1.0.0.0", "COM1", 9600, std::nullopt};

// Typed out by hand; the checksum is zlib's crc32 of every line before the last. Version 2 adds
// the clock line after the readout line; a season without a read of the clock stays version 1.
constexpr const char* kArchiveHead =
    "program 1.0.0.0\n"
    "port COM1\n"
    "baud 9600\n"
    "readout 2008-10-20T09:30:05-03:30\n";
constexpr const char* kArchiveBody =
    "memo \\x0A\\x93c\\x20A\\\\\\x0D\n"
    "start \\x0ASTR:200804142200\\x0D\n"
    "dated 2008-04-14T22 logger\n"
    "pointer \\x0A2\\x0D\n"
    "sample 0 0190 \\x0A0190\\x0D\n"
    "sample 1 C194 \\x0A0xc194\\x0D\n";

Season TwoSampleSeason() {
  Replies r = RepliesFor("田 A\\", "STR:200804142200", {0x0190, 0});
  r.samples[1] = "\n0xc194\r";
  Season s = SeasonFor(r);
  s.readout = kReadout;
  return s;
}

TEST(SeasonArchive, TwoSamplesByteForByteInEachVersion) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);  // the check value of CRC-32/IEEE
  struct Case {
    std::optional<ClockReading> clock;
    std::string version, clockLine, end;
  };
  const Case cases[] = {
      {std::nullopt, "1", "", "end 2 7d300714\n"},
      {ClockReading{LocalTime{2008, 10, 20, 9, 55, 6}, {2008, 10, 20, 9, 30, 6}}, "2",
       "clock 2008-10-20T09:55:06 2008-10-20T09:30:06\n", "end 2 eaf64fd9\n"},
      {ClockReading{std::nullopt, {2008, 10, 20, 9, 30, 7}}, "2", "clock unread 2008-10-20T09:30:07\n",
       "end 2 f5e6a1f0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clockLine);
    Season season = TwoSampleSeason();
    season.readout->clock = c.clock;
    const std::string expected =
        "paddytherm-archive " + c.version + "\n" + kArchiveHead + c.clockLine + kArchiveBody + c.end;
    std::string text, error;
    ASSERT_TRUE(FormatArchive(season, &text, &error)) << error;
    EXPECT_EQ(text, expected);
    Season back;
    ASSERT_TRUE(ReadArchive(expected, &back, &error)) << error;
    EXPECT_EQ(back, season);
  }
}

TEST(SeasonArchive, RoundTripThroughAFile) {
  Season dated = SeasonFor(RepliesFor("ﾀﾝﾎﾞ 3", "STR:200802281900", {0x0190, 0x4194, 0xC194, 0x3194, 0x0FFF, 0x0000}));
  dated.readout = kReadout;
  Season typed;
  std::string why;
  ASSERT_TRUE(SeasonFromReplies(*dated.replies, CivilHour{2008, 2, 29, 23}, &typed, &why)) << why;
  typed.readout = kReadout;
  EXPECT_EQ(MemoUtf8(dated.memoSjis), reinterpret_cast<const char*>(u8"ﾀﾝﾎﾞ 3"));

  const LocalTime at{2026, 10, 5, 14, 3, 12};
  ASSERT_EQ(ArchiveFileName(at), "paddytherm-20261005-140312.ptlog");
  const std::string path = (std::filesystem::temp_directory_path() / ArchiveFileName(at)).string();
  for (const Season& season : {dated, typed}) {
    std::string error;
    ASSERT_TRUE(WriteArchiveFile(path, season, &error)) << error;
    Season back;
    ASSERT_TRUE(ReadArchiveFile(path, &back, &error)) << error;
    EXPECT_EQ(back, season);
  }
  std::filesystem::remove(path);
}

std::string RemoveLine(std::string text, int number) {
  std::size_t start = 0;
  for (int i = 1; i < number; ++i) start = text.find('\n', start) + 1;
  return text.erase(start, text.find('\n', start) + 1 - start);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Lines 1-10 the header (the clock on line 6), 11-15 samples 0-4, 16 the end line.
TEST(SeasonArchive, RefusalsNameTheLine) {
  Season season = SeasonFor(RepliesFor("memo", "STR:200805010000", {0x0190, 0x0191, 0x0192, 0x0193, 0x0194}));
  season.readout = kReadout;
  season.readout->clock = ClockReading{LocalTime{2008, 10, 20, 9, 55, 6}, {2008, 10, 20, 9, 30, 6}};
  std::string good, error;
  ASSERT_TRUE(FormatArchive(season, &good, &error)) << error;

  struct Case {
    const char* what;
    std::function<std::string(std::string)> spoil;
    const char* refusal;
  };
  const Case cases[] = {
      {"one byte of the memo changed", [](std::string t) { return Replace(t, "\\x0Amemo", "\\x0Ameme"); },
       "line 16: the checksum"},
      {"a word changed", [](std::string t) { return Replace(t, "sample 2 0192", "sample 2 0193"); },
       "line 13: the word is not what the reply gives"},
      {"a sample line removed", [](std::string t) { return RemoveLine(t, 13); }, "line 13: expected sample 2"},
      {"the last sample removed", [](std::string t) { return RemoveLine(t, 15); },
       "line 15: the end line counts 5 samples, the archive holds 4"},
      {"cut short before the end line", [](std::string t) { return RemoveLine(t, 16); },
       "line 16: the archive ends here"},
      {"cut in a line", [](std::string t) { return t.substr(0, t.find("sample 3") + 5); }, "line 14: the line has no line end"},
      {"line ends changed", [](std::string t) { return Replace(t, "\n", "\r\n"); }, "line 1: a carriage return"},
      {"a later version", [](std::string t) { return Replace(t, "archive 2", "archive 4"); },
       "line 1: archive version 4 is newer"},
      {"version 1 with a clock line", [](std::string t) { return Replace(t, "archive 2", "archive 1"); },
       "line 6: expected the \"memo\" line"},
      {"no clock line in version 2", [](std::string t) { return RemoveLine(t, 6); },
       "line 6: expected the \"clock\" line"},
      {"a clock that is no time", [](std::string t) { return Replace(t, "clock 2008-10-20T09:55:06", "clock 2008-10-20T25:55:06"); },
       "line 6: the logger's clock is neither"},
      {"not an archive", [](std::string) { return std::string("date,mean_c\n"); }, "line 1: not a paddytherm archive"},
      {"text after the end line", [](std::string t) { return t + "x\n"; }, "line 17: text after the end line"},
      {"the start moved", [](std::string t) { return Replace(t, "dated 2008-05-01T00", "dated 2008-05-01T01"); },
       "line 9: the start is not what the start reply gives"},
      {"a stray backslash", [](std::string t) { return Replace(t, "\\x0A0190", "\\q0A0190"); },
       "line 11: a byte is not escaped"},
  };
  for (const Case& c : cases) {
    Season out;
    out.pointerCount = -7;
    std::string why;
    EXPECT_FALSE(ReadArchive(c.spoil(good), &out, &why)) << c.what;
    EXPECT_EQ(why.rfind(c.refusal, 0), 0u) << c.what << ": " << why;
    EXPECT_EQ(out.pointerCount, -7) << c.what << ": a refused archive leaves the season alone";
  }
}

}  // namespace
}  // namespace pt::season
