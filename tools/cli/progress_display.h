#pragma once
// How far a download has come, on standard error: a bar redrawn in place on a terminal, a plain
// line every tenth of the way otherwise (a log file or a pipe gets no carriage returns).
#include <cstdio>
#include <string>

namespace cli {

// The largest sample count shown; a larger or a non-positive one shows nothing, and a position
// outside 0..count is shown at the nearer end.
inline constexpr int kMaxProgressTotal = 10000;

// "  1234/2000 [############--------]  61%  52.3 samples/s  0:15 left"; both formatters give ""
// for a total that is not shown, and leave out the rate and the time left while `perSecond` is
// not yet known (0).
std::string FormatProgressBar(int done, int total, double perSecond, int barWidth);
// "1234/2000 samples (61%), 52.3 samples/s, 0:15 left"
std::string FormatProgressLine(int done, int total, double perSecond);
// "m:ss", or "h:mm:ss" from an hour on; "--:--" when it cannot be told.
std::string FormatDuration(double seconds);

class ProgressDisplay {
 public:
  ProgressDisplay(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

  // The download has read `done` of `total` samples at `nowMs`.
  void Update(int done, int total, long long nowMs);
  // Ends the display (a bar's line is closed) so that messages can follow.
  void Finish();
  bool Active() const { return active_; }

 private:
  double Rate(int done, long long nowMs) const;

  std::FILE* out_;
  bool terminal_;
  bool active_ = false;
  bool drawn_ = false;
  long long startMs_ = 0;
  long long lastDrawMs_ = 0;
  int lastTenth_ = -1;
  int lastDone_ = -1;
};

}  // namespace cli
