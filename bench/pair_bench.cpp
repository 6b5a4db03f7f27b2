// paddytherm-cli pair on an inlet archive and a field archive of 10000 samples each, the field
// started five hours later: the time of the whole command, both archives read and checked, the
// daily CSV and the page written. The target is 200 ms.
#include "process_timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>  // getpid

#include "bench_season.h"
#include "season/io/archive.h"
#include "season/model/season.h"

namespace {

using namespace pt::season;

// A season like the simulator's: the field warmer than the inlet and swinging more over the day.
Season MakeSeason(bool field, int samples) {
  const int startHour = field ? 11 : 6;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "\nSTR:20080414%02d00\r", startHour);
  Replies r{field ? "\nFIELD\r" : "\nINLET\r", stamp, "\n" + std::to_string(samples) + "\r", {}};
  for (int i = 0; i < samples; ++i) {
    const int hour = (startHour + i) % 24, day = (startHour + i) / 24;
    const int swing = (hour < 14 ? hour : 28 - hour) * (field ? 12 : 5);
    const int sixteenths = (field ? 260 : 240) + (day < 120 ? day * 2 : 240) + swing;
    char text[16];
    std::snprintf(text, sizeof text, "\n%04X\r", static_cast<unsigned>(sixteenths));
    r.samples.emplace_back(text);
  }
  return BenchSeason(r, "pair_bench");
}

}  // namespace

int main(int argc, char** argv) {
  int samples = 10000;
  bool keep = false;  // --keep 1: leave the archives and the page to look at
  std::string cli = PT_CLI_PATH;  // --cli PATH: time another build, e.g. the release-linux one
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--keep") keep = std::atoi(argv[i + 1]) != 0;
    if (std::string(argv[i]) == "--cli") cli = argv[i + 1];
    if (std::string(argv[i]) == "--samples") samples = std::atoi(argv[i + 1]);
  }
  const auto dir = std::filesystem::temp_directory_path() / ("pair_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::vector<std::string> args = {cli, "pair"};
  for (const bool field : {false, true}) {
    const std::string path = (dir / (field ? "field.ptlog" : "inlet.ptlog")).string();
    std::string error;
    if (!WriteArchiveFile(path, MakeSeason(field, samples), &error)) {
      std::fprintf(stderr, "pair_bench: %s\n", error.c_str());
      return 1;
    }
    args.push_back(path);
  }
  const std::string page = (dir / "pair.html").string(), daily = (dir / "pair.csv").string();
  for (const std::string& a : {std::string("--season"), page, std::string("--daily"), daily}) args.push_back(a);

  const double best = BestRunMs(args);
  if (best < 0) {
    std::fprintf(stderr, "pair_bench: paddytherm-cli pair failed\n");
    return 1;
  }
  std::printf("pair of two archives of %d samples: %.0f ms (best of 3; target 200 ms), page %.0f KB, daily CSV %.0f KB\n",
              samples, best, static_cast<double>(std::filesystem::file_size(page)) / 1024.0,
              static_cast<double>(std::filesystem::file_size(daily)) / 1024.0);
  if (keep) {
    std::printf("kept: %s\n", dir.c_str());
  } else {
    std::filesystem::remove_all(dir);
  }
  return 0;
}
