#include "season/model/pair.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "season/pages/page_text.h"
#include "season/pages/pair_csv.h"
#include "season/pages/pair_page.h"

namespace pt::season {
namespace {

struct Run {
  int hours;
  double celsius;
};

// A season from `start`, its readings given as runs of one value.
Season Made(CivilHour start, const std::vector<Run>& runs) {
  Season s;
  s.start = start;
  for (const Run& r : runs) s.samples.insert(s.samples.end(), static_cast<std::size_t>(r.hours), Sample{{}, r.celsius, false});
  return s;
}

TEST(PairSeasons, AlignedByDateAndHourAndRoundedHalfUp) {
  struct Case {
    const char* name;
    Season inlet, field;
    std::size_t hours;         // shared
    double firstInlet, firstField;  // the readings of the first shared hour
    std::string csv;
    std::vector<std::string> beyond2, beyond02;  // the days beyond ±2 and ±0.2
  };
  const Case cases[] = {
      // The inlet from 1 May 18:00 to 3 May 23:00, the field from 1 May 06:00 to the same hour:
      // they share 54 hours from 18:00, and 2 and 3 May whole. Counted by sample, the field's
      // first would meet the inlet's first and no day would match.
      // 2 May: 20.25 - 20 = 0.25, a tie in sixteenths, up to 0.3.
      // 3 May: 19.75 - 22 = -2.25, a tie, up (toward zero) to -2.2; beyond 2 as shown.
      {"different start hours",
       Made({2008, 5, 1, 18}, {{6, 30.0}, {24, 20.0}, {24, 22.0}}),
       Made({2008, 5, 1, 6}, {{18, 10.0}, {24, 20.25}, {24, 19.75}}),
       54, 30.0, 10.0,
       "date,inlet_mean_c,field_mean_c,difference_c\n2008-05-02,20.0,20.3,0.3\n2008-05-03,22.0,19.8,-2.2\n",
       {"2008-05-03"}, {"2008-05-02", "2008-05-03"}},
      // Tenths, as from a tavovalu.html. Inlet each day 19 x 20.1 and 5 x 20.2: 20.12 (20.1). The
      // field one hour lower by 1.2 on 1 Jan: -1.2 / 24 = -0.05 exactly, to 0.0 (not -0.1); one
      // hour higher by 1.2 on 2 Jan: 0.05, up to 0.1 (field 20.17, 20.2). In doubles 20.1, 18.9
      // and 21.3 are not exact, and the sums miss the tie either way.
      // Over New Year, starting at 23:00 and at 00:00: 31 Dec is whole in neither.
      {"ties in tenths",
       Made({2008, 12, 31, 23}, {{1, 5.0}, {19, 20.1}, {5, 20.2}, {19, 20.1}, {5, 20.2}}),
       Made({2009, 1, 1, 0}, {{18, 20.1}, {1, 18.9}, {5, 20.2}, {18, 20.1}, {1, 21.3}, {5, 20.2}}),
       48, 20.1, 20.1,
       "date,inlet_mean_c,field_mean_c,difference_c\n2009-01-01,20.1,20.1,0.0\n2009-01-02,20.1,20.2,0.1\n",
       {}, {}},
      // Negative ties of sixteenths either side of a whole tenth: -0.75 up to -0.7, -0.25 to -0.2.
      {"negative ties",
       Made({2008, 6, 1, 0}, {{24, 25.0}, {24, 25.0}}),
       Made({2008, 6, 1, 0}, {{24, 24.25}, {24, 24.75}}),
       48, 25.0, 24.25,
       "date,inlet_mean_c,field_mean_c,difference_c\n2008-06-01,25.0,24.3,-0.7\n2008-06-02,25.0,24.8,-0.2\n",
       {}, {"2008-06-01"}},
      // Overlapping for 18 hours, but 1 May is whole only at the inlet and 2 May only in the field.
      {"no shared complete day",
       Made({2008, 5, 1, 0}, {{30, 20.0}}), Made({2008, 5, 1, 12}, {{40, 21.0}}),
       18, 20.0, 21.0, "date,inlet_mean_c,field_mean_c,difference_c\n", {}, {}},
      // A year apart.
      {"no shared hour", Made({2008, 5, 1, 0}, {{48, 20.0}}), Made({2009, 5, 1, 0}, {{48, 20.0}}),
       0, 0, 0, "date,inlet_mean_c,field_mean_c,difference_c\n", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SeasonPair pair = PairSeasons(c.inlet, c.field);
    ASSERT_EQ(pair.hours.size(), c.hours);
    if (c.hours > 0) {
      EXPECT_EQ(pair.hours.front().inlet, c.firstInlet);
      EXPECT_EQ(pair.hours.front().field, c.firstField);
      EXPECT_EQ(pair.hours.back().hour, SampleHour(c.inlet, c.inlet.samples.size() - 1));
    }
    EXPECT_EQ(FormatPairDailyCsv(pair), c.csv);
    for (const auto& [margin, expected] : {std::pair{20, c.beyond2}, std::pair{2, c.beyond02}}) {
      std::vector<std::string> dates;
      for (const PairedDay& d : DaysBeyond(pair, margin)) dates.push_back(DateText(d.date));
      EXPECT_EQ(dates, expected) << "margin " << margin;
    }
  }
}

// With a heading date, the page shades its stages on both charts: heading on 10 June over 1 May
// to 19 June (50 days) puts panicle initiation (from 11 May), booting (from 26 May), heading (from
// 10 June) and early ripening (from 15 June) inside; each listed day (3 °C apart) names its stage.
TEST(PairSeasons, PageShadesTheStages) {
  const Season inlet = Made({2008, 5, 1, 0}, {{24 * 50, 20.0}}), field = Made({2008, 5, 1, 0}, {{24 * 50, 23.0}});
  PairPageOptions options;
  options.stages.heading = CivilDate{2008, 6, 10};
  const std::string page = FormatPairPage(inlet, field, PairSeasons(inlet, field), options);
  std::size_t shades = 0;
  for (std::size_t at = page.find("class=\"stage"); at != std::string::npos; at = page.find("class=\"stage", at + 1)) {
    ++shades;
  }
  EXPECT_EQ(shades, 8u) << "four stages on each of the two charts";
  EXPECT_NE(page.find(reinterpret_cast<const char*>(u8"<td class=\"date\">2008-06-10</td><td class=\"date\">出穂期</td>")),
            std::string::npos);
}

}  // namespace
}  // namespace pt::season
