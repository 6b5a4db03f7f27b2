// The two readers take a file only as this program writes it: every field in the one spelling the
// writer gives it, every number in the range the program writes, and a refusal names the line.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "season/io/archive.h"
#include "season/io/crc32.h"
#include "season/io/report_reader.h"
#include "season/io/whole_file.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

using test::RepliesFor;

// Lines 1-10 the header (readout on line 5, memo 7, dated 9), 11-15 samples 0-4, 16 the end.
std::string Archive(const std::string& stamp, UndatedSeason undated = UndatedSeason::Refuse) {
  Season season;
  std::string error, text;
  EXPECT_TRUE(SeasonFromReplies(RepliesFor("memo", stamp, {0x0190, 0x01AB, 0x4194, 0x0000, 0x0FFF}), std::nullopt,
                                &season, &error, undated))
      << error;
  season.readout = Readout{{2008, 10, 20, 9, 30, 5}, 0, "1.0.0.0", "COM1", 9600,
                           ClockReading{std::nullopt, {2008, 10, 20, 9, 30, 6}}};
  EXPECT_TRUE(FormatArchive(season, &text, &error)) << error;
  return text;
}

// hour15_10.html: the caption on line 16, the first sample cell on 67, the mean on 76.
std::string Report() {
  std::string bytes, error;
  const auto golden = std::filesystem::path(__FILE__).parent_path() / ".." / "report" / "golden" / "hour15_10.html";
  EXPECT_TRUE(ReadWholeFile(golden.string(), &bytes, &error)) << error;
  return bytes;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The end line's checksum made right again after a change above it, so that only the changed
// field can be refused.
std::string Resealed(std::string text) {
  const std::size_t end = text.rfind('\n', text.size() - 2) + 1;
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(Crc32(text.data(), end)));
  return text.replace(text.size() - 9, 8, crc);
}

// The end line's checksum in capitals, as another tool might print it.
std::string UpperCaseChecksum(std::string text) {
  const std::size_t crc = text.rfind(' ') + 1;
  for (std::size_t i = crc; i < text.size(); ++i) text[i] = static_cast<char>(std::toupper(text[i]));
  return text;
}

TEST(SeasonReaders, RefuseWhatTheWritersNeverWriteNamingTheLine) {
  const std::string archive = Archive("STR:200805010000");
  const std::string undated = Archive("STR:199904141500", UndatedSeason::Keep);
  const std::string report = Report();
  ASSERT_NE(UpperCaseChecksum(archive), archive) << "the checksum has no letter to show the case";

  const auto readArchive = [](const std::string& bytes, std::string* why) {
    Season out;
    return ReadArchive(bytes, &out, why);
  };
  const auto readReport = [](const std::string& bytes, std::string* why) {
    Season out;
    return ReadReport(bytes, &out, why);
  };
  struct Case {
    const char* what;
    std::function<bool(const std::string&, std::string*)> read;
    std::string bytes;
    const char* refusal;
  };
  const Case cases[] = {
      {"a version with a leading zero", readArchive, Resealed(Replace(archive, "archive 2\n", "archive 002\n")),
       "line 1: the archive's version is not a version number"},
      {"version 0", readArchive, Resealed(Replace(archive, "archive 2\n", "archive 0\n")),
       "line 1: the archive's version is not a version number"},
      {"a speed with a leading zero", readArchive, Resealed(Replace(archive, "baud 9600", "baud 09600")),
       "line 4: the speed is not a number"},
      {"no offset given a minus sign", readArchive, Resealed(Replace(archive, "+00:00", "-00:00")),
       "line 5: the readout time"},
      {"an escape in lower case", readArchive, Resealed(Replace(archive, "\\x0Amemo", "\\x0amemo")),
       "line 7: a byte is not escaped"},
      {"a letter escaped", readArchive, Resealed(Replace(archive, "\\x0Amemo", "\\x0A\\x6Demo")),
       "line 7: a byte is not escaped"},
      {"a NUL in the memo", readArchive, Resealed(Replace(archive, "\\x0Amemo", "\\x0Ame\\x00mo")),
       "line 7: the memo reply holds a NUL byte"},
      {"a typed start in year 0", readArchive,
       Resealed(Replace(archive, "dated 2008-05-01T00 logger", "dated 0000-01-01T00 typed")),
       "line 9: the start is not a real date and hour YYYY-MM-DDThh from 2000 to 2099"},
      {"a typed start in 9999", readArchive,
       Resealed(Replace(archive, "dated 2008-05-01T00 logger", "dated 9999-12-31T23 typed")),
       "line 9: the start is not a real date and hour YYYY-MM-DDThh from 2000 to 2099"},
      {"a source in capitals", readArchive, Resealed(Replace(archive, "T00 logger", "T00 Logger")),
       "line 9: the start is neither"},
      {"undated, unless kept", readArchive, undated, "line 9: the season is undated"},
      {"undated in version 2", readArchive, Resealed(Replace(undated, "archive 3\n", "archive 2\n")),
       "line 9: expected the \"dated\" line"},
      {"undated with a start", readArchive, Resealed(Replace(undated, "STR:1999", "STR:2008")),
       "line 9: undated, but the start reply gives a start"},
      {"a sample number with a leading zero", readArchive, Resealed(Replace(archive, "sample 0 ", "sample 00 ")),
       "line 11: expected sample 0, found \"00\""},
      {"a word in lower case", readArchive, Resealed(Replace(archive, "sample 1 01AB", "sample 1 01ab")),
       "line 12: the word is not four capital hexadecimal digits"},
      {"a count with a leading zero", readArchive, Resealed(Replace(archive, "end 5 ", "end 05 ")),
       "line 16: expected \"end COUNT CRC\""},
      {"a checksum in capitals", readArchive, UpperCaseChecksum(archive), "line 16: expected \"end COUNT CRC\""},
      {"a caption in year 0", readReport, Replace(report, "[2008-4-14 15:00]", "[0-4-14 15:00]"),
       "line 16: the caption's start is not a real date and hour from 2000 to 2099"},
      {"a caption in 2100", readReport, Replace(report, "[2008-4-14 15:00]", "[2100-4-14 15:00]"),
       "line 16: the caption's start is not a real date and hour from 2000 to 2099"},
      {"a caption's year with a leading zero", readReport, Replace(report, "[2008-4-14", "[02008-4-14"),
       "line 16: the caption is not the report's start time"},
      {"a cell past int", readReport, Replace(report, ">25.0</td>", ">999999999.9</td>"),
       "line 67: expected a sample cell's temperature"},
      {"a cell past the largest word", readReport, Replace(report, ">25.0</td>", ">256.0</td>"),
       "line 67: expected a sample cell's temperature"},
      {"a cell with a leading zero", readReport, Replace(report, ">25.0</td>", ">025.0</td>"),
       "line 67: expected a sample cell's temperature"},
      {"a mean past int", readReport, Replace(report, ">51.4</font>", ">2147483647.9</font>"),
       "line 76: expected the day's mean"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(c.read(c.bytes, &why)) << c.what;
    EXPECT_EQ(why.rfind(c.refusal, 0), 0u) << c.what << ": " << why;
  }

  // What the writers write is read: the largest cell, and an undated archive when kept.
  std::string why;
  EXPECT_TRUE(readReport(report, &why)) << why;
  Season season;
  ASSERT_TRUE(ReadArchive(undated, &season, &why, UndatedSeason::Keep)) << why;
  EXPECT_TRUE(season.undated);
  EXPECT_EQ(season.samples.size(), 5u);
}

}  // namespace
}  // namespace pt::season
