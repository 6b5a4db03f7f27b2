#include "season/pages/compare.h"
#include "season/pages/compare_csv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "season/io/whole_file.h"
#include "season/pages/chart_axes.h"
#include "season/pages/page_text.h"
#include "season/pages/season_labels.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

// A season at one steady temperature: its sum grows by that much each complete day, so the
// milestone dates can be counted on a calendar.
ComparedSeason Steady(const std::string& memo, const std::string& stamp, double celsius, int samples) {
  return {memo, test::SeasonFor(test::RepliesFor(memo, stamp, std::vector<std::uint16_t>(samples, test::Word(celsius))))};
}

// Two years of one paddy and another paddy.
std::vector<ComparedSeason> ThreeSeasons() {
  return {
      // From 1 May 2008 at midnight, 20 a day for 60 days: 500 on day 25, 1000 on day 50, 1200 in all.
      Steady("A", "STR:200805010000", 20.0, 24 * 60),
      // From 2 May 2009 at 06:00, so the first complete day is 3 May; 25 a day for 61 days.
      Steady("A", "STR:200905020600", 25.0, 18 + 24 * 61),
      // 12.5 a day from 10 May 2009 for 85 days: 500 on day 40, 1000 on day 80.
      Steady("B", "STR:200905100000", 12.5, 24 * 85),
  };
}

std::size_t Count(const std::string& s, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

// The x of each season's first point in the accumulated chart (the second SVG).
std::vector<double> FirstSumX(const std::string& page) {
  const std::string sums = page.substr(page.find(U8(u8"aria-label=\"積算水温の比較\"")));
  std::vector<double> xs;
  const std::regex first("<path class=\"line s\\d+\"[^>]* d=\"M(-?[0-9.]+),");
  for (std::sregex_iterator it(sums.begin(), sums.end(), first), end; it != end; ++it) {
    xs.push_back(std::atof((*it)[1].str().c_str()));
  }
  return xs;
}

TEST(ComparePage, MilestonesAndOverlayByDateAndByDay) {
  const std::vector<ComparedSeason> seasons = ThreeSeasons();
  const std::vector<std::vector<std::optional<CivilDate>>> expected = {
      {CivilDate{2008, 5, 25}, CivilDate{2008, 6, 19}, std::nullopt},
      {CivilDate{2009, 5, 22}, CivilDate{2009, 6, 11}, CivilDate{2009, 7, 1}},
      {CivilDate{2009, 6, 18}, CivilDate{2009, 7, 28}, std::nullopt},
  };
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    EXPECT_EQ(MilestoneDates(ComputeDaily(seasons[i].season), {500, 1000, 1500}), expected[i]) << i;
  }

  CompareOptions byDate;
  CompareOptions byDay;
  byDay.by = CompareBy::Day;
  const std::string datePage = FormatComparePage(seasons, byDate);
  const std::string dayPage = FormatComparePage(seasons, byDay);
  for (const std::string* page : {&datePage, &dayPage}) {
    EXPECT_EQ(Count(*page, "role=\"img\""), 2u);
    for (const char* line : {"class=\"line s0\"", "class=\"line s1\"", "class=\"line s2\""}) {
      EXPECT_EQ(Count(*page, line), 2u) << line << ": one line in each chart";
    }
    EXPECT_EQ(Count(*page, "class=\"line s3\""), 0u);
    EXPECT_NE(page->find("<td>2009-07-01"), std::string::npos);
    EXPECT_EQ(Count(*page, "<td>&mdash;</td>"), 2u) << "1500 never reached by A 2008 nor by B";
    EXPECT_EQ(Count(*page, "<circle class=\"part\""), 1u) << "A 2009's first day of 18 hours, a ring off its line";
  }
  EXPECT_NE(dayPage.find(U8(u8"<td>2009-07-28（80日目）</td>")), std::string::npos) << "day 80 counted from 1";
  EXPECT_EQ(datePage.find(U8(u8"日目）")), std::string::npos);

  // By date the sums start on 1 May, 3 May and 10 May of their years, one over the other; by day
  // every sum starts at day zero.
  const std::vector<double> dateX = FirstSumX(datePage), dayX = FirstSumX(dayPage);
  ASSERT_EQ(dateX.size(), 3u);
  ASSERT_EQ(dayX.size(), 3u);
  const double oneDay = (dateX[1] - dateX[0]) / 2;
  EXPECT_GT(oneDay, 0.0);
  EXPECT_NEAR(dateX[2] - dateX[0], 9 * oneDay, 0.3);
  EXPECT_EQ(dayX[0], dayX[1]);
  EXPECT_EQ(dayX[0], dayX[2]);
}

// The style="..." of each line drawn with `prefix` (a chart's line, a legend's key), in page order.
std::vector<std::string> Strokes(const std::string& page, const std::string& prefix) {
  std::vector<std::string> styles;
  for (std::size_t at = page.find(prefix); at != std::string::npos; at = page.find(prefix, at + 1)) {
    const std::size_t open = page.find("style=\"", at) + 7;
    styles.push_back(page.substr(open, page.find('"', open) - open));
  }
  return styles;
}

// On a black-and-white print the lines are told apart by their dashes alone, and each legend key
// and table row is drawn as its line is.
TEST(ComparePage, EverySeasonDrawnAndKeyedAlike) {
  std::vector<ComparedSeason> eleven;
  for (int i = 0; i < 11; ++i) {
    eleven.push_back(Steady(std::string(1, static_cast<char>('A' + i)), "STR:200805010000", 20.0 + i, 48));
  }
  const std::string page = FormatComparePage(eleven, {});
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < eleven.size(); ++i) {
    const std::vector<std::string> drawn = Strokes(page, "class=\"line s" + std::to_string(i) + "\"");
    ASSERT_EQ(drawn.size(), 2u) << i;
    EXPECT_EQ(drawn[0], drawn[1]) << i;
    lines.push_back(drawn[0]);
  }
  const std::vector<std::string> keys = Strokes(page, "<path class=\"line\"");
  ASSERT_EQ(keys.size(), 3 * lines.size()) << "a key in each chart's legend and in the table";
  for (std::size_t k = 0; k < keys.size(); ++k) EXPECT_EQ(keys[k], lines[k % lines.size()]) << k;

  const auto dashes = [&](std::size_t i) {
    const std::size_t at = lines[i].find("dasharray:");
    return at == std::string::npos ? std::string("solid") : lines[i].substr(at);
  };
  for (std::size_t i = 0; i < 10; ++i) {
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(dashes(i), dashes(j)) << i << " and " << j << " in grey";
  }
  EXPECT_NE(lines[10], lines[0]) << "the eleventh season drawn as the first";

  const struct {
    long long day;
    const char8_t* text;
  } counts[] = {{0, u8"1日目"}, {30, u8"31日目"}, {-3, u8"3日前"}};
  for (const auto& c : counts) EXPECT_EQ(DayCountText(c.day), U8(c.text)) << c.day;
  CompareOptions byDay;
  byDay.by = CompareBy::Day;
  EXPECT_NE(FormatComparePage(eleven, byDay).find(U8(u8"\">1日目</text>")), std::string::npos);
}

TEST(ComparePage, LongDailyCsvNamesEachSeason) {
  const std::vector<ComparedSeason> seasons = {
      Steady("A", "STR:200805010000", 20.0, 24),
      {"=1+1, \"x\"", Steady("", "STR:200905022200", 12.5, 3).season},
  };
  EXPECT_EQ(FormatCompareDailyCsv(seasons, {}),
            "season,season_start,date,mean_c,max_c,min_c,hours,no_water_hours,accumulated_c_days,complete_day,"
            "cold_day,hot_day,offset_c,stage\n"
            "A,2008-05-01,2008-05-01,20.0,20.0,20.0,24,0,20.0,1,0,0,0.0,\n"
            "\"'=1+1, \"\"x\"\"\",2009-05-02,2009-05-02,12.5,12.5,12.5,2,0,,0,,,0.0,\n"
            "\"'=1+1, \"\"x\"\"\",2009-05-02,2009-05-03,12.5,12.5,12.5,1,0,,0,,,0.0,\n");
}

TEST(ComparePage, EverySeasonKeepsANameOfItsOwn) {
  const Season a2008 = Steady("A", "STR:200805010000", 20.0, 24).season;
  const Season a2009 = Steady("A", "STR:200905020600", 20.0, 24).season;
  const Season blank = Steady("", "STR:200905020600", 20.0, 24).season;
  // A report read back keeps neither the replies nor the memo.
  Season report2008 = a2008, report2009 = a2009;
  for (Season* r : {&report2008, &report2009}) {
    r->replies.reset();
    r->memoUtf8.clear();
  }
  const struct {
    const char* what;
    std::vector<LabelSource> sources;
    std::vector<std::string> labels;
  } cases[] = {
      {"two reports in two folders",
       {{"", "tavovalu.html", "paddy-east", &report2008}, {"", "tavovalu.html", "paddy-west", &report2009}},
       {"paddy-east", "paddy-west"}},
      {"two reports in no folder", {{"", "tavovalu.html", "", &report2008}, {"", "tavovalu.html", "", &report2009}},
       {"tavovalu.html 2008-05-01", "tavovalu.html 2009-05-02"}},
      {"two years with one memo", {{"", "a.ptlog", "x", &a2008}, {"", "b.ptlog", "x", &a2009}},
       {"A 2008-05-01", "A 2009-05-02"}},
      {"a label set by hand, an archive with a blank memo",
       {{"Field A", "a.ptlog", "", &a2008}, {"", "a2.ptlog", "", &a2009}, {"", "b.ptlog", "", &blank}},
       {"Field A", "A", "b.ptlog"}},
      {"one season twice, and a hand label alike",
       {{"", "a.ptlog", "", &a2008}, {"", "a.ptlog", "", &a2008}, {"A", "c.ptlog", "", &a2009}},
       {"A 2008-05-01", "A 2008-05-01 (2)", "A 2009-05-02"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SeasonLabels(c.sources), c.labels) << c.what;
}

// What a person would see: tidy finds no fault in the markup.
TEST(ComparePage, ValidMarkup) {
#ifdef _WIN32
  GTEST_SKIP() << "tidy is run on the native build";
#else
  if (std::system("command -v tidy >/dev/null 2>&1") != 0) GTEST_SKIP() << "tidy is not installed";
  const auto path = std::filesystem::temp_directory_path() / ("compare_" + std::to_string(::getpid()) + ".html");
  std::string error;
  ASSERT_TRUE(WriteWholeFile(path.string(), FormatComparePage(ThreeSeasons(), {}), &error)) << error;
  EXPECT_EQ(std::system(("tidy -q -e " + path.string()).c_str()), 0);
  std::filesystem::remove(path);
#endif
}

}  // namespace
}  // namespace pt::season
