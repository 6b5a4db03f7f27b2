#include "bench_season.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

pt::season::Season BenchSeason(const pt::season::Replies& replies, const char* bench) {
  using namespace pt::season;
  Season s;
  std::string error;
  if (!SeasonFromReplies(replies, std::nullopt, &s, &error)) {
    std::fprintf(stderr, "%s: %s\n", bench, error.c_str());
    std::exit(1);
  }
  s.readout = Readout{{2026, 10, 20, 9, 30, 5}, 540, "1.0.0.0", "/dev/ttyUSB0", 9600,
                      ClockReading{pt::LocalTime{2026, 10, 20, 9, 31, 0}, {2026, 10, 20, 9, 30, 6}}};
  return s;
}
