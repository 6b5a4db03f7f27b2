#include "season/pages/season_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "season/io/whole_file.h"
#include "season/model/milestones.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

namespace fs = std::filesystem;

// A season like the simulator's: warming, a daily swing, a dry spell.
Season DemoLike(int count, const char* start = "STR:200804140600") {
  std::vector<std::uint16_t> words;
  for (int i = 0; i < count; ++i) {
    const int hour = (6 + i) % 24, day = (6 + i) / 24;
    const int sixteenths = 240 + day * 2 + (hour < 14 ? hour : 28 - hour) * 12 + (i * 37) % 9;
    words.push_back(static_cast<std::uint16_t>(sixteenths | (day % 30 == 12 ? 0x4000 : 0)));
  }
  return test::SeasonFor(test::RepliesFor("A&<b>\"", start, words));
}

bool IsUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

std::size_t Count(const std::string& s, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

TEST(SeasonPage, SelfContainedUtf8AndSmall) {
  const std::string page = FormatSeasonPage(DemoLike(500), {10.0, CivilDate{2008, 4, 20}, false});
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n", 0), 0u);
  EXPECT_NE(page.find("@page { size: A4 landscape"), std::string::npos);
  EXPECT_TRUE(IsUtf8(page));
  EXPECT_NE(page.find(reinterpret_cast<const char*>(u8"積算水温")), std::string::npos);
  EXPECT_NE(page.find("A&amp;&lt;b&gt;&quot;"), std::string::npos);  // the memo, escaped
  for (const char* outside : {"<script", "http", "url(", "src=", "href=", "@import", "<link"}) {
    EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  EXPECT_EQ(Count(page, "<svg "), 2u);
  EXPECT_EQ(Count(page, "</svg>"), 2u);
  const std::string days = page.substr(page.find("class=\"days\""));
  EXPECT_EQ(Count(days, "<td>2008-"), 22u);  // 500 hours from 06:00 cover 22 days
  EXPECT_EQ(Count(days, "<tr class=\"first\"><td>2008-05-01"), 1u) << "a rule above the 1st of a month";
  EXPECT_EQ(Count(page, "<path class=\"hourly\""), 1u);

  const std::string full = FormatSeasonPage(DemoLike(10000));
  EXPECT_LT(full.size(), 1500u * 1000u);
}

// The milestones a grower reads off the page, by default and as given, counted from day 1; and a
// gap in what is drawn (the dry hours left out with dryExcluded) left as a gap in the line.
TEST(SeasonPage, MilestonesAndGaps) {
  EXPECT_EQ(DefaultMilestones(0.0), (std::vector<double>{500.0, 1000.0, 1500.0}));
  EXPECT_EQ(DefaultMilestones(10.0), (std::vector<double>{300.0, 600.0, 900.0}));
  // About 21 ℃ a day on 04-15 (the first complete day, day 1), rising by an eighth a day.
  const Season season = DemoLike(2400);
  const struct {
    DailyOptions options;
    std::optional<std::vector<double>> milestones;
    const char8_t* row;
    std::size_t dots, hourlyStarts;
  } cases[] = {
      {{}, std::nullopt, u8"<tr><td>500 ℃・日</td><td>2008-05-07</td><td>23日目</td></tr>", 3, 1},
      {{10.0, CivilDate{2008, 5, 1}}, std::nullopt, u8"<tr><td>300 ℃・日</td><td>2008-05-21</td><td>21日目</td></tr>",
       3, 1},
      {{}, std::vector<double>{2500, 9000}, u8"<tr><td>9000 ℃・日</td><td>未到達</td><td></td></tr>", 1, 1},
      {{0.0, std::nullopt, true}, std::vector<double>{}, u8"<path class=\"hourly\" d=\"M", 0, 4},
  };
  // A few days are dated day by day; a single reading is a ring, not a line of no length.
  const std::string days = FormatSeasonPage(DemoLike(24 * 5));
  for (const char* label : {">4/15</text>", ">4/18</text>"}) EXPECT_NE(days.find(label), std::string::npos) << label;
  EXPECT_EQ(Count(FormatSeasonPage(DemoLike(1)), "<circle class=\"hourly\""), 1u);
  for (const auto& c : cases) {
    const std::string page = FormatSeasonPage(season, c.options, c.milestones);
    EXPECT_NE(page.find(reinterpret_cast<const char*>(c.row)), std::string::npos) << reinterpret_cast<const char*>(c.row);
    EXPECT_EQ(Count(page, "<circle class=\"reached\""), c.dots) << reinterpret_cast<const char*>(c.row);
    const std::size_t hourly = page.find("<path class=\"hourly\"");
    ASSERT_NE(hourly, std::string::npos);
    EXPECT_EQ(Count(page.substr(hourly, page.find("/>", hourly) - hourly), "M"), c.hourlyStarts);
  }
}

// The season by growth stage, heading on 20 June (DemoLike runs 04-14 to 07-23, about 21 ℃ a day
// on 04-15 rising by an eighth a day): the windows by the calendar, and from heading at most 34
// days of about 30 ℃, short of 1100.
TEST(SeasonPage, ByGrowthStage) {
  DailyOptions options;
  options.stages = {CivilDate{2008, 4, 20}, CivilDate{2008, 6, 20}};
  const std::string page = FormatSeasonPage(DemoLike(2400), options);
  for (const char8_t* row : {
           u8"<tr><td class=\"mark\">活着期</td><td class=\"mark\">2008-04-20〜2008-04-26</td><td>7</td>",
           u8"<tr><td class=\"mark\">幼穂形成期</td><td class=\"mark\">2008-05-21〜2008-06-04</td><td>15</td>",
           u8"<tr><td class=\"mark\">穂ばらみ期</td><td class=\"mark\">2008-06-05〜2008-06-19</td><td>15</td>",
           u8"<tr><td class=\"mark\">出穂期</td><td class=\"mark\">2008-06-20〜2008-06-24</td><td>5</td>",
           u8"<tr><td class=\"mark\">登熟初期</td><td class=\"mark\">2008-06-25〜2008-07-14</td><td>20</td>",
           u8"<tr><td>1100 ℃・日</td><td>未到達</td>", u8"日平均<strong>気温</strong>の積算"}) {
    EXPECT_NE(page.find(reinterpret_cast<const char*>(row)), std::string::npos) << reinterpret_cast<const char*>(row);
  }
  EXPECT_EQ(Count(page, "class=\"stage\"/>") + Count(page, "class=\"stage dark\"/>"), 10u)
      << "five stages shaded on each chart";
  options.stages = {std::nullopt, CivilDate{2008, 9, 20}};  // heading after the readings end
  const std::string late = FormatSeasonPage(DemoLike(2400), options);
  EXPECT_NE(late.find(reinterpret_cast<const char*>(u8"穂ばらみ期・出穂期・登熟初期は記録の外です")), std::string::npos);
  EXPECT_EQ(FormatSeasonPage(DemoLike(2400)).find("class=\"stages\""), std::string::npos) << "no dates, no section";
}

#ifndef _WIN32
bool Have(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::string out;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p) != nullptr) out += buffer;
    pclose(p);
  }
  return out;
}
#endif

// What a person would see: tidy finds no fault in the markup, and a browser draws a page that is
// more than a blank.
TEST(SeasonPage, ValidAndDrawnByABrowser) {
#ifdef _WIN32
  GTEST_SKIP() << "tidy and chromium are checked on the native build";
#else
  const fs::path dir = fs::temp_directory_path() / ("season_page_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string page = (dir / "season.html").string();
  std::string error;
  // From 25 April, a hundred days touch five months.
  ASSERT_TRUE(WriteSeasonPage(page, DemoLike(2400, "STR:200804250600"), {}, &error)) << error;

  bool checked = false;
  if (Have("tidy")) {
    EXPECT_EQ(std::system(("tidy -q -e " + page + " 2>" + (dir / "tidy.txt").string()).c_str()), 0)
        << Output("cat " + (dir / "tidy.txt").string());
    checked = true;
  } else {
    std::printf("tidy is not installed: the markup is not checked\n");
  }
  if (Have("chromium") && Have("identify")) {
    const std::string png = (dir / "season.png").string();
    Output("timeout 60 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --screenshot=" + png +
        " --window-size=1400,1000 file://" + page + " 2>/dev/null");
    ASSERT_TRUE(fs::exists(png)) << "chromium made no screenshot";
    // A blank page has one colour; the bands, the line and the text give thousands.
    EXPECT_GT(std::atoi(Output("identify -format %k " + png).c_str()), 500);
    checked = true;
  } else {
    std::printf("chromium with ImageMagick is not installed: the page is not drawn\n");
  }
  // On paper: a hundred days on two A4 landscape pages, both charts on the first, and the title with
  // the memo (quotes and brackets included) and the dates atop the second.
  if (Have("chromium") && Have("pdfinfo") && Have("pdftotext")) {
    const std::string pdf = (dir / "season.pdf").string();
    Output("timeout 60 chromium --headless --no-sandbox --disable-gpu --no-pdf-header-footer --print-to-pdf=" + pdf +
           " file://" + page + " 2>/dev/null");
    ASSERT_TRUE(fs::exists(pdf)) << "chromium printed nothing";
    EXPECT_NE(Output("pdfinfo " + pdf).find("Pages:           2\n"), std::string::npos) << Output("pdfinfo " + pdf);
    const std::string first = Output("pdftotext -f 1 -l 1 " + pdf + " -"), second = Output("pdftotext -f 2 -l 2 " + pdf + " -");
    EXPECT_NE(first.find(reinterpret_cast<const char*>(u8"積算水温 [℃・日]")), std::string::npos) << first;
    for (const char8_t* title : {u8"水温の記録 A&<b>\"", u8"2008-04-25〜2008-08-03"}) {
      EXPECT_NE(second.find(reinterpret_cast<const char*>(title)), std::string::npos) << second;
    }
    checked = true;
  }
  fs::remove_all(dir);
  if (!checked) GTEST_SKIP() << "neither tidy nor chromium with ImageMagick is installed";
#endif
}

}  // namespace
}  // namespace pt::season
