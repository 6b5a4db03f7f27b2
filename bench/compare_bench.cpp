// paddytherm-cli compare on ten archives of 10000 samples each (ten paddies or years): the time of
// the whole command, reading and checking every archive included, and the page's size.
#include "process_timing.h"

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

// A season like the simulator's, shifted a little for each paddy and year.
Season MakeSeason(int n, int samples) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "\nSTR:%04d04%02d0600\r", 2008 + n / 3, 10 + n % 10);
  Replies r{"\nPADDY " + std::to_string(n) + "\r", stamp, "\n" + std::to_string(samples) + "\r", {}};
  for (int i = 0; i < samples; ++i) {
    const int hour = (6 + i) % 24, day = (6 + i) / 24;
    const int sixteenths = 230 + n * 3 + (day < 120 ? day * 2 : 240) + (hour < 14 ? hour : 28 - hour) * 10;
    char text[16];
    std::snprintf(text, sizeof text, "\n%04X\r", static_cast<unsigned>(sixteenths | (day % 40 == 12 ? 0x4000 : 0)));
    r.samples.emplace_back(text);
  }
  return BenchSeason(r, "compare_bench");
}

}  // namespace

int main(int argc, char** argv) {
  int seasons = 10, samples = 10000;
  bool keep = false;  // --keep 1: leave the archives and the page to look at
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--keep") keep = std::atoi(argv[i + 1]) != 0;
    if (std::string(argv[i]) == "--seasons") seasons = std::atoi(argv[i + 1]);
    if (std::string(argv[i]) == "--samples") samples = std::atoi(argv[i + 1]);
  }
  const auto dir = std::filesystem::temp_directory_path() / ("compare_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::vector<std::string> args = {PT_CLI_PATH, "compare"};
  for (int n = 0; n < seasons; ++n) {
    const std::string path = (dir / ("season" + std::to_string(n) + ".ptlog")).string();
    std::string error;
    if (!WriteArchiveFile(path, MakeSeason(n, samples), &error)) {
      std::fprintf(stderr, "compare_bench: %s\n", error.c_str());
      return 1;
    }
    args.push_back(path);
  }
  const std::string page = (dir / "compare.html").string(), daily = (dir / "compare.csv").string();
  for (const std::string& a : {std::string("--season"), page, std::string("--daily"), daily, std::string("--by"), std::string("day")}) args.push_back(a);

  const double best = BestRunMs(args);
  if (best < 0) {
    std::fprintf(stderr, "compare_bench: paddytherm-cli compare failed\n");
    return 1;
  }
  std::printf("compare of %d archives of %d samples: %.0f ms (best of 3), page %.0f KB, daily CSV %.0f KB\n", seasons,
              samples, best, static_cast<double>(std::filesystem::file_size(page)) / 1024.0,
              static_cast<double>(std::filesystem::file_size(daily)) / 1024.0);
  if (keep) {
    std::printf("kept: %s\n", dir.c_str());
  } else {
    std::filesystem::remove_all(dir);
  }
  return 0;
}
