#include "progress_display.h"

#include "platform/console_out.h"

namespace cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kMaxBarWidth = 100;
constexpr long long kRedrawMs = 100;
#ifdef _WIN32
constexpr std::size_t kClearedWidth = 79;
#endif

// The progress control's range comes from the logger's pointer: only a count the download can
// hold is shown, and the position is kept within it.
bool Usable(int total) { return total > 0 && total <= kMaxProgressTotal; }
int Within(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// `done` within 0..total, `total` usable.
int Percent(int done, int total) { return done * 100 / total; }

// The rate and the time left, once a sample has come in measurable time; "" before.
std::string Rest(int done, int total, double perSecond) {
  if (!(perSecond > 0)) return "";
  char text[96];
  std::snprintf(text, sizeof text, "  %.1f samples/s  %s left", perSecond,
                FormatDuration((total - done) / perSecond).c_str());
  return text;
}

}  // namespace

std::string FormatDuration(double seconds) {
  if (!(seconds >= 0) || seconds > 359999) return "--:--";
  const long s = static_cast<long>(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
  }
  return text;
}

std::string FormatProgressBar(int done, int total, double perSecond, int barWidth) {
  if (!Usable(total)) return "";
  done = Within(done, 0, total);
  barWidth = Within(barWidth, 0, kMaxBarWidth);
  const int filled = done * barWidth / total;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(barWidth - filled), '-');
  char text[256];
  std::snprintf(text, sizeof text, "%6d/%-6d [%s] %3d%%", done, total, bar.c_str(), Percent(done, total));
  return text + Rest(done, total, perSecond);
}

std::string FormatProgressLine(int done, int total, double perSecond) {
  if (!Usable(total)) return "";
  done = Within(done, 0, total);
  char text[128];
  std::snprintf(text, sizeof text, "%d/%d samples (%d%%)", done, total, Percent(done, total));
  std::string rest = Rest(done, total, perSecond);
  // "  52.3 samples/s  0:15 left" reads better in a log as ", 52.3 samples/s, 0:15 left".
  for (std::size_t gap = rest.find("  "); gap != std::string::npos; gap = rest.find("  ")) rest.replace(gap, 2, ", ");
  return text + rest;
}

double ProgressDisplay::Rate(int done, long long nowMs) const {
  const long long ms = nowMs - startMs_;
  return ms > 0 ? done * 1000.0 / static_cast<double>(ms) : 0.0;
}

void ProgressDisplay::Update(int done, int total, long long nowMs) {
  if (!Usable(total)) return;
  done = Within(done, 0, total);
  if (!active_) {
    active_ = true;
    startMs_ = nowMs;
    lastDrawMs_ = nowMs - kRedrawMs;
    lastTenth_ = 0;
  }
  if (done == lastDone_) return;
  lastDone_ = done;
  if (terminal_) {
    if (nowMs - lastDrawMs_ < kRedrawMs && done < total) return;
    lastDrawMs_ = nowMs;
#ifdef _WIN32
    // A Windows console takes no escape sequence unless asked to; spaces clear what a longer
    // line left.
    std::string line = FormatProgressBar(done, total, Rate(done, nowMs), kBarWidth);
    if (line.size() < kClearedWidth) line.append(kClearedWidth - line.size(), ' ');
    pt::Print(out_, "\r%s", line.c_str());
#else
    pt::Print(out_, "\r%s\x1b[K", FormatProgressBar(done, total, Rate(done, nowMs), kBarWidth).c_str());
#endif
    drawn_ = true;
  } else {
    const int tenth = Percent(done, total) / 10;
    if (tenth <= lastTenth_) return;
    lastTenth_ = tenth;
    pt::Print(out_, "%s\n", FormatProgressLine(done, total, Rate(done, nowMs)).c_str());
  }
  std::fflush(out_);
}

void ProgressDisplay::Finish() {
  if (active_ && drawn_) {
    pt::WriteText(out_, "\n");
    std::fflush(out_);
  }
  active_ = false;
  drawn_ = false;
  lastTenth_ = -1;
  lastDone_ = -1;
}

}  // namespace cli
