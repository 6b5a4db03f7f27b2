#include "season/io/report_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/program_state.h"
#include "report/decimal_text.h"
#include "report/html_report.h"
#include "season/io/whole_file.h"
#include "support/fake_dialog.h"
#include "unit/report/memory_sink.h"

namespace pt::season {
namespace {

std::string WrittenReport(const char* stamp, const std::vector<std::uint32_t>& words) {
  ResetProgramState();
  test::MemorySink sink;
  ScopedReportSink installed(&sink);
  test::FakeDialog dlg;
  std::vector<std::uint32_t> table(kSampleTableSize, 0);
  std::copy(words.begin(), words.end(), table.begin());
  EXPECT_EQ(WriteReport(dlg, stamp, std::to_string(words.size()).c_str(), table.data()), 0);
  return sink.placed;
}

// The value a cell shows, as a number: what the report's rounding writes, read back.
double Shown(double temperature) {
  char text[kDecimalTextSize];
  FormatOneDecimal(temperature, text, sizeof text);
  return std::strtod(text, nullptr);
}

TEST(SeasonReportReader, TheCoreWritersReportReadBack) {
  // From 30 December 21:00 over the new year: ties (0x0194 is 25.25), stars shown and hidden,
  // the largest word and zero.
  std::vector<std::uint32_t> words;
  for (std::uint32_t i = 0; i < 60; ++i) words.push_back((0x0100 + i * 7) | (i % 5 == 1 ? 0x4000 : 0));
  words[3] = 0x0194;
  words[4] = 0xC194;
  words[5] = 0x0FFF;
  words[6] = 0x0000;
  Season season;
  std::string error;
  ASSERT_TRUE(ReadReport(WrittenReport("STR:200812302100", words), &season, &error)) << error;
  EXPECT_EQ(season.start, (CivilHour{2008, 12, 30, 21}));
  EXPECT_EQ(season.pointerCount, 60);
  ASSERT_EQ(season.samples.size(), words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Sample written = SampleFromWord(static_cast<std::uint16_t>(words[i]));
    EXPECT_EQ(season.samples[i].temperature, Shown(written.temperature)) << i;
    EXPECT_EQ(season.samples[i].noWater, written.noWater) << i;
    EXPECT_FALSE(season.samples[i].word) << i;
  }
  EXPECT_EQ(season.samples[3].temperature, 25.3);

  ASSERT_TRUE(ReadReport(WrittenReport("STR:200804141500", {}), &season, &error)) << error;
  EXPECT_EQ(season.start, (CivilHour{2008, 4, 14, 15}));
  EXPECT_TRUE(season.samples.empty());
}

const std::filesystem::path kGoldenDir = std::filesystem::path(__FILE__).parent_path() / ".." / "report" / "golden";

std::string Golden(const char* name) {
  std::string bytes, error;
  EXPECT_TRUE(ReadWholeFile((kGoldenDir / name).string(), &bytes, &error)) << error;
  return bytes;
}

std::string ReplaceLine(const std::string& text, int number, const std::string& with) {
  std::size_t start = 0;
  for (int i = 1; i < number; ++i) start = text.find('\n', start) + 1;
  return text.substr(0, start) + with + text.substr(text.find('\n', start) + (with.empty() ? 1 : 0));
}

std::string FirstLines(const std::string& text, int count) {
  std::size_t end = 0;
  for (int i = 0; i < count; ++i) end = text.find('\n', end) + 1;
  return text.substr(0, end);
}

// hour15_10.html: line 50 opens 4/14, lines 52-66 hold the 15 "---", 67-75 the samples from
// 15:00, 81 opens 4/15, 83 its one sample, 85 ends the table.
TEST(SeasonReportReader, AGoldenReportAndWhatIsNotOne) {
  const std::string report = Golden("hour15_10.html");
  Season season;
  std::string error;
  ASSERT_TRUE(ReadReport(report, &season, &error)) << error;
  const std::vector<Sample> expected = {{{}, 25.0, false}, {{}, 25.3, true},  {{}, 25.3, false}, {{}, 25.3, false},
                                        {{}, 255.9, false}, {{}, 19.0, false}, {{}, 19.9, false}, {{}, 35.3, false},
                                        {{}, 32.0, false},  {{}, 35.5, false}};
  EXPECT_EQ(season.samples, expected);
  EXPECT_EQ(season.start, (CivilHour{2008, 4, 14, 15}));

  struct Case {
    const char* what;
    std::string bytes;
    const char* refusal;
  };
  const Case cases[] = {
      {"empty", "", "line 1: not a paddytherm report"},
      {"the report without its head", report.substr(report.find("  <caption>")), "line 1: not a paddytherm report"},
      {"a \"---\" missing", ReplaceLine(report, 60, ""), "line 66: expected \"---\""},
      {"a colour the report never uses", ReplaceLine(report, 68, "   <td bgcolor=\"#123456\">*25.3</td>"),
       "line 68: expected a sample cell"},
      {"a day skipped", ReplaceLine(report, 82, "   <td> 4/16</td>"), "line 82: expected the date cell"},
      {"a cell's number spoilt", ReplaceLine(report, 70, "   <td bgcolor=\"#FF0000\">255.</td>"),
       "line 70: expected a sample cell's temperature"},
      {"cut in the table", FirstLines(report, 72), "line 73: the report ends here"},
      {"cut after the table", FirstLines(report, 86), "line 86: the report does not end with </html>"},
  };
  for (const Case& c : cases) {
    Season out;
    out.pointerCount = -7;
    std::string why;
    EXPECT_FALSE(ReadReport(c.bytes, &out, &why)) << c.what;
    EXPECT_EQ(why.rfind(c.refusal, 0), 0u) << c.what << ": " << why;
    EXPECT_EQ(out.pointerCount, -7) << c.what;
  }
}

}  // namespace
}  // namespace pt::season
