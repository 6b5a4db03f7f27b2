#include "season/pages/kept_season.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "season/io/archive.h"
#include "season/pages/season_page.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

namespace fs = std::filesystem;
using test::Reply;
using test::RepliesFor;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(KeptSeason, FileStemFromTheMemoAndTheStart) {
  struct Case {
    std::string memoSjis;  // as the logger sends it
    CivilHour start;
    const char8_t* stem;
  } const cases[] = {
      {"田んぼA-2       ", {2008, 4, 14, 6}, u8"田んぼA-2_2008-04-14_06"},
      {"ﾀﾝﾎﾞ ソ表", {2009, 5, 1, 18}, u8"ﾀﾝﾎﾞ ソ表_2009-05-01_18"},  // a second byte 5C is no "\"
      {"a<b>c:d\"e/f\\g|h?i*", {2008, 4, 14, 6}, u8"a_b_c_d_e_f_g_h_i__2008-04-14_06"},
      {"\tA\x01\x7F", {2008, 4, 14, 6}, u8"_A___2008-04-14_06"},
      {"北 　 　", {2008, 4, 14, 6}, u8"北_2008-04-14_06"},  // blanks, full-width ones too
      {"                ", {2099, 12, 31, 23}, u8"2099-12-31_23"},
      {"con .A", {2008, 4, 14, 6}, u8"con _A_2008-04-14_06"},  // else Windows opens the console
  };
  for (const Case& c : cases) {
    Season season;
    season.memoSjis = c.memoSjis;
    season.start = c.start;
    EXPECT_EQ(SeasonFileStem(season), U8(c.stem)) << c.memoSjis;
  }
}

const Readout kReadout{{2008, 10, 20, 9, 30, 5}, 540, "1.0.0.0", "COM1", 9600, std::nullopt};
Readout FixedReadout() { return kReadout; }

std::string Utf8(const fs::path& p) {
  const std::u8string name = p.u8string();
  return std::string(name.begin(), name.end());
}

std::string Contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SeasonKeeperTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }

  // A download as the core tells it: the replies, then what became of the report.
  Kept Download(const std::string& memo, const std::string& stamp, const std::vector<std::uint16_t>& words,
                const char* typedStamp = nullptr, ReportResult report = ReportResult::Written) {
    const Replies r = RepliesFor(memo, stamp, words);
    keeper_.OnHeaders(r.memo.c_str(), r.start.c_str(), r.pointer.c_str());
    for (std::size_t i = 0; i < r.samples.size(); ++i) keeper_.OnSample(static_cast<int>(i), r.samples[i].c_str(), 0);
    if (words.empty()) keeper_.OnSample(0, Reply("NG").c_str(), 0);  // an empty logger still answers Rdt0000
    keeper_.OnReport(report, typedStamp);
    return keeper_.LastKept();
  }

  static std::set<std::string> Files(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(Utf8(e.path().filename()));
    return names;
  }
  fs::path InSeasons(const char8_t* name) const { return seasons_ / fs::path(name); }

  fs::path dir_ = fs::temp_directory_path() / ("pt_kept_" + std::to_string(std::random_device{}()));
  fs::path seasons_ = dir_ / "seasons";
  SeasonKeeper keeper_{Utf8(seasons_), FixedReadout};
};

TEST_F(SeasonKeeperTest, EachSeasonHasFilesOfItsOwnAndTheSameLoggerReplacesThem) {
  const std::vector<std::uint16_t> words = {test::Word(12.5), test::Word(13), test::Word(14.25, true)};
  ASSERT_EQ(Download("田んぼA-2       ", "STR:200804140600", words), Kept::Written);
  ASSERT_EQ(Files(seasons_), (std::set<std::string>{U8(u8"田んぼA-2_2008-04-14_06.html"),
                                                    U8(u8"田んぼA-2_2008-04-14_06.ptlog")}));
  Season expected;
  std::string error;
  ASSERT_TRUE(SeasonFromReplies(RepliesFor("田んぼA-2       ", "STR:200804140600", words), std::nullopt, &expected,
                                &error)) << error;
  expected.readout = kReadout;
  Season back;
  ASSERT_TRUE(ReadArchive(Contents(InSeasons(u8"田んぼA-2_2008-04-14_06.ptlog")), &back, &error)) << error;
  EXPECT_EQ(back, expected);
  EXPECT_EQ(Contents(InSeasons(u8"田んぼA-2_2008-04-14_06.html")), FormatSeasonPage(expected));

  // Read again a day later: the same two files, now with four samples.
  ASSERT_EQ(Download("田んぼA-2       ", "STR:200804140600", {1, 2, 3, 4}), Kept::Written);
  EXPECT_EQ(Files(seasons_).size(), 2u);
  EXPECT_NE(Contents(InSeasons(u8"田んぼA-2_2008-04-14_06.ptlog")).find("end 4 "), std::string::npos);

  // Another paddy, another year, and a start typed in place of the logger's, which is recorded.
  ASSERT_EQ(Download("田んぼB-1       ", "STR:200804140600", words), Kept::Written);
  ASSERT_EQ(Download("田んぼA-2       ", "STR:200904140600", words), Kept::Written);
  ASSERT_EQ(Download("田んぼA-2       ", "STR:200904140600", words, "STR:200905010630"), Kept::Written);
  EXPECT_EQ(Files(seasons_).size(), 8u);
  ASSERT_TRUE(ReadArchive(Contents(InSeasons(u8"田んぼA-2_2009-05-01_06.ptlog")), &back, &error)) << error;
  EXPECT_TRUE(back.startTyped);
  EXPECT_EQ(back.start, (CivilHour{2009, 5, 1, 6}));
}

TEST_F(SeasonKeeperTest, NothingIsKeptOfAnEmptyLoggerOrASeasonWithoutADate) {
  const std::vector<std::uint16_t> words = {1, 2, 3};
  struct Case {
    const char* what;
    std::string stamp;
    std::vector<std::uint16_t> words;
    const char* typed;
    ReportResult report;
    Kept kept;
  } const cases[] = {
      {"an empty logger", "STR:200804140600", {}, nullptr, ReportResult::Written, Kept::NoSamples},
      {"a start the report refused", "STR:2008041", words, nullptr, ReportResult::BadStamp, Kept::NotAsked},
      {"31 April, which the report takes", "STR:200804310600", words, nullptr, ReportResult::Written, Kept::Undated},
      {"a typed start after 2099", "STR:200804140600", words, "STR:210004140600", ReportResult::Written,
       Kept::Undated},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Download("PADDY", c.stamp, c.words, c.typed, c.report), c.kept) << c.what;
    EXPECT_FALSE(fs::exists(seasons_)) << c.what;
  }
}

TEST_F(SeasonKeeperTest, NothingHalfWrittenWhenTheFolderOrAFileCannotBeWritten) {
  const std::string stem = "PADDY_2008-04-14_06";
  struct Case {
    const char* what;
    const char* inTheWay;  // a folder there in place of a file; "" for a file named "seasons"
    std::set<std::string> left;
  } const cases[] = {
      {"a file named seasons", "", {}},
      {"a folder in place of the archive", ".ptlog", {stem + ".ptlog"}},
      {"a folder in place of the page", ".html", {stem + ".ptlog", stem + ".html"}},  // the archive is kept
  };
  for (const Case& c : cases) {
    fs::remove_all(seasons_);
    if (*c.inTheWay == '\0') {
      std::ofstream(seasons_) << "a file";
    } else {
      fs::create_directories(seasons_ / (stem + c.inTheWay));
    }
    EXPECT_EQ(Download("PADDY", "STR:200804140600", {1, 2, 3}), Kept::NotWritten) << c.what;
    if (*c.inTheWay == '\0') {
      EXPECT_EQ(Contents(seasons_), "a file");
    } else {
      EXPECT_EQ(Files(seasons_), c.left) << c.what;  // and no temporary
    }
  }
}

}  // namespace
}  // namespace pt::season
