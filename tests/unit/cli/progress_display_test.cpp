// The progress of a download as a terminal and a log file get it. (open_memstream: POSIX only.)
#include "progress_display.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace cli {
namespace {

TEST(Progress, PlainLinesEveryTenthAndTheBar) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  ProgressDisplay plain(out, false);
  for (int done = 0; done <= 25; ++done) plain.Update(done, 25, 1000 + done * 100);
  plain.Finish();
  std::fclose(out);
  const std::string lines(text, size);
  std::free(text);
  EXPECT_EQ(lines,
            "3/25 samples (12%), 10.0 samples/s, 0:02 left\n"
            "5/25 samples (20%), 10.0 samples/s, 0:02 left\n"
            "8/25 samples (32%), 10.0 samples/s, 0:02 left\n"
            "10/25 samples (40%), 10.0 samples/s, 0:02 left\n"
            "13/25 samples (52%), 10.0 samples/s, 0:01 left\n"
            "15/25 samples (60%), 10.0 samples/s, 0:01 left\n"
            "18/25 samples (72%), 10.0 samples/s, 0:01 left\n"
            "20/25 samples (80%), 10.0 samples/s, 0:01 left\n"
            "23/25 samples (92%), 10.0 samples/s, 0:00 left\n"
            "25/25 samples (100%), 10.0 samples/s, 0:00 left\n");
  EXPECT_EQ(FormatProgressBar(500, 2000, 62.5, 20),
            "   500/2000   [#####---------------]  25%  62.5 samples/s  0:24 left");
  // Before a sample has come in measurable time there is no rate and no time left to show.
  EXPECT_EQ(FormatProgressBar(0, 2000, 0, 20), "     0/2000   [--------------------]   0%");
  EXPECT_EQ(FormatProgressLine(3, 25, 0), "3/25 samples (12%)");
  EXPECT_EQ(FormatDuration(0), "0:00");
  EXPECT_EQ(FormatDuration(59.4), "0:59");
  EXPECT_EQ(FormatDuration(3599.6), "1:00:00");
  EXPECT_EQ(FormatDuration(-1), "--:--");
}

TEST(Progress, ExtremeCountsNeverOverflowAndUnusableOnesShowNothing) {
  struct Case {
    int done, total;
    const char* line;  // the plain line shown; "" for none
  };
  const Case cases[] = {
      {5, 0, ""},
      {5, -3, ""},
      {INT_MAX, INT_MIN, ""},
      {INT_MIN, INT_MAX, ""},
      {1, 10001, ""},
      {INT_MAX, 10000, "10000/10000 samples (100%)\n"},  // kept at the nearer end; no time, no rate
      {INT_MIN, 10000, ""},                               // at 0: not a tenth yet
      {-1, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.done) + "/" + std::to_string(c.total));
    for (bool terminal : {false, true}) {
      char* text = nullptr;
      std::size_t size = 0;
      std::FILE* out = open_memstream(&text, &size);
      ProgressDisplay display(out, terminal);
      display.Update(c.done, c.total, INT_MAX);
      display.Update(c.done, c.total, 0);
      display.Finish();
      std::fclose(out);
      const std::string shown(text, size);
      std::free(text);
      if (!terminal) {
        EXPECT_EQ(shown.substr(0, std::strlen(c.line)), c.line);
        EXPECT_EQ(shown.empty(), c.line[0] == '\0') << shown;
      } else if (c.total <= 0 || c.total > 10000) {
        EXPECT_EQ(shown, "");
      }
    }
    const std::string bar = FormatProgressBar(c.done, c.total, 1e300, INT_MAX);
    EXPECT_EQ(bar.empty(), c.total <= 0 || c.total > 10000) << bar;
    EXPECT_LE(bar.size(), 250u);
  }
}

}  // namespace
}  // namespace cli
