#include "season/io/season_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "season/io/archive.h"
#include "season/io/whole_file.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

namespace fs = std::filesystem;

// An archive and a report told apart by their first bytes alone, whatever their names; what is
// refused names the file and says which kind it was taken for.
TEST(SeasonFile, AnArchiveOrAReportByItsFirstBytes) {
  Season season = test::SeasonFor(test::RepliesFor("A", "STR:200804142200", {0x0190, 0x4194}));
  season.readout = Readout{{2008, 10, 20, 9, 30, 5}, 540, "1.0.0.0", "COM1", 9600, std::nullopt};
  std::string archive, error;
  ASSERT_TRUE(FormatArchive(season, &archive, &error)) << error;
  std::string report;
  const fs::path golden = fs::path(__FILE__).parent_path() / ".." / "report" / "golden" / "hour15_10.html";
  ASSERT_TRUE(ReadWholeFile(golden.string(), &report, &error)) << error;

  const fs::path dir = fs::temp_directory_path() / "paddytherm_season_file_test";
  fs::create_directories(dir);
  const struct {
    const char* what;
    std::string bytes;
    bool read, archive;
    std::string refusal;  // what the message starts with after the file's name
  } cases[] = {
      {"an archive", archive, true, true, ""},
      {"a report", report, true, false, ""},
      {"the magic without its space", std::string(kArchiveMagic) + "\n", false, false,
       " is neither an archive nor a tavovalu.html this program wrote: line 1"},
      {"an archive cut after its first line", archive.substr(0, archive.find('\n') + 1), false, true, ": line 2"},
      {"nothing", "", false, false, " is neither an archive nor a tavovalu.html this program wrote: "},
  };
  for (const auto& c : cases) {
    const std::string path = (dir / "season.txt").string();
    ASSERT_TRUE(WriteWholeFile(path, c.bytes, &error)) << error;
    Season out;
    bool isArchive = !c.archive;
    const bool read = ReadSeasonFile(path, &out, &error, UndatedSeason::Refuse, &isArchive);
    EXPECT_EQ(read, c.read) << c.what << ": " << error;
    EXPECT_EQ(isArchive, c.archive) << c.what;
    EXPECT_EQ(IsArchive(c.bytes), c.archive) << c.what;
    if (!c.read) {
      EXPECT_EQ(error.rfind(path + c.refusal, 0), 0u) << c.what << ": " << error;
    } else if (c.archive) {
      EXPECT_EQ(out, season) << c.what;
    } else {
      EXPECT_EQ(out.samples.size(), 10u) << c.what;
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace pt::season
