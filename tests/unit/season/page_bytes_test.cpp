// The pages byte for byte, held by their size and CRC-32: the charts' axes, bands and lines come
// out exactly as they did when each page first drew them, whichever shared piece draws them now.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "season/io/crc32.h"
#include "season/pages/compare.h"
#include "season/pages/season_page.h"
#include "unit/season/season_fixture.h"

namespace pt::season {
namespace {

// Warming by a sixteenth a day from 15 ℃, swinging by day, dry one day in thirty: every colour
// band of the report once the season is long enough.
Season Warming(const std::string& memo, const std::string& stamp, int count) {
  std::vector<std::uint16_t> words;
  for (int i = 0; i < count; ++i) {
    const int hour = (6 + i) % 24, day = (6 + i) / 24;
    const int sixteenths = 240 + day * 2 + (hour < 14 ? hour : 28 - hour) * 12 + (i * 37) % 9;
    words.push_back(static_cast<std::uint16_t>(sixteenths | (day % 30 == 12 ? 0x4000 : 0)));
  }
  return test::SeasonFor(test::RepliesFor(memo, stamp, words));
}

struct Bytes {
  std::size_t size;
  std::uint32_t crc;
  friend bool operator==(const Bytes&, const Bytes&) = default;
};

Bytes Of(const std::string& page) { return {page.size(), Crc32(page.data(), page.size())}; }

std::ostream& operator<<(std::ostream& os, const Bytes& b) {
  return os << b.size << " bytes, CRC-32 " << std::hex << b.crc << std::dec;
}

TEST(SeasonPages, ByteForByte) {
  // Three weeks (a date axis by day and 旬), a summer (by month and 旬), a winter across New Year; compared by
  // date (by month and ten days, the years folded) and by day of season.
  const Season weeks = Warming("A", "STR:200804140600", 500);
  const Season summer = Warming("B", "STR:200904140600", 2400);
  const Season winter = Warming("C", "STR:200812200000", 1000);
  const std::vector<ComparedSeason> seasons = {{"A", weeks}, {"B", summer}, {"C", winter}};
  DailyOptions byStage;
  byStage.stages = {CivilDate{2009, 4, 20}, CivilDate{2009, 7, 1}};
  CompareOptions byDay;
  byDay.by = CompareBy::Day;
  byDay.daily.from = CivilDate{2009, 4, 20};
  const struct {
    const char* what;
    std::string page;
    Bytes bytes;
  } cases[] = {
      {"three weeks", FormatSeasonPage(weeks), {19512, 0x9C3366D1}},
      {"a summer", FormatSeasonPage(summer), {57857, 0x8C33C669}},
      {"a summer by stage", FormatSeasonPage(summer, byStage), {61519, 0xBCA7254D}},
      {"across New Year", FormatSeasonPage(winter), {27917, 0x09D172E3}},
      {"compared by date", FormatComparePage(seasons, {}), {16276, 0x4F58234F}},
      {"compared by day", FormatComparePage(seasons, byDay), {12705, 0xE864A90B}},
  };
  for (const auto& c : cases) EXPECT_EQ(Of(c.page), c.bytes) << c.what;
}

}  // namespace
}  // namespace pt::season
