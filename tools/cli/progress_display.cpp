#include "progress_display.h"

namespace cli {

namespace {

constexpr int kBarWidth = 30;
constexpr long long kRedrawMs = 100;

int Percent(int done, int total) {
  if (total <= 0) return 100;
  if (done >= total) return 100;
  return static_cast<int>(static_cast<long long>(done) * 100 / total);
}

std::string Rest(int done, int total, double perSecond) {
  char text[96];
  const double left = perSecond > 0 ? (total - done) / perSecond : -1;
  std::snprintf(text, sizeof text, "%.1f samples/s  %s left", perSecond, FormatDuration(left).c_str());
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
  const int filled = total > 0 ? static_cast<int>(static_cast<long long>(done < total ? done : total) * barWidth / total)
                               : barWidth;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(barWidth - filled), '-');
  char text[256];
  std::snprintf(text, sizeof text, "%6d/%-6d [%s] %3d%%  ", done, total, bar.c_str(), Percent(done, total));
  return text + Rest(done, total, perSecond);
}

std::string FormatProgressLine(int done, int total, double perSecond) {
  char text[128];
  std::snprintf(text, sizeof text, "%d/%d samples (%d%%), ", done, total, Percent(done, total));
  std::string rest = Rest(done, total, perSecond);
  // "52.3 samples/s  0:15 left" reads better in a log as "52.3 samples/s, 0:15 left".
  const std::size_t gap = rest.find("  ");
  if (gap != std::string::npos) rest.replace(gap, 2, ", ");
  return text + rest;
}

double ProgressDisplay::Rate(int done, long long nowMs) const {
  const long long ms = nowMs - startMs_;
  return ms > 0 ? done * 1000.0 / static_cast<double>(ms) : 0.0;
}

void ProgressDisplay::Update(int done, int total, long long nowMs) {
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
    std::fprintf(out_, "\r%s\x1b[K", FormatProgressBar(done, total, Rate(done, nowMs), kBarWidth).c_str());
    drawn_ = true;
  } else {
    const int tenth = total > 0 ? Percent(done, total) / 10 : 10;
    if (tenth <= lastTenth_) return;
    lastTenth_ = tenth;
    std::fprintf(out_, "%s\n", FormatProgressLine(done, total, Rate(done, nowMs)).c_str());
  }
  std::fflush(out_);
}

void ProgressDisplay::Finish() {
  if (active_ && drawn_) {
    std::fputc('\n', out_);
    std::fflush(out_);
  }
  active_ = false;
  drawn_ = false;
  lastTenth_ = -1;
  lastDone_ = -1;
}

}  // namespace cli
