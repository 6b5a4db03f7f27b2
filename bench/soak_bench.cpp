// A season read over a noisy line must come home exact or not at all. Twenty downloads of 500
// samples from a simulated logger that spoils 3 % of the sample replies on their first ask (every
// kind of spoiling, a new seed each time); then twenty from one that answers 3 % of the first
// asks 1.05 s late, just after the resend went out, and then the resend too. Each is judged against a clean download of the same
// season: exact (the report byte for byte), refused (a failure status and last season's report
// untouched, nothing left beside it) or wrong (anything else). Target: 0 wrong, at least 95 %
// exact.
//
// Then what the checking costs on a clean line: ms per sample of a paced 9600-baud download of
// 2000 samples, for this paddytherm-cli and, with --before PATH, for an earlier build of it.
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_download_timing.h"
#include "sim_child.h"

namespace {

constexpr int kDownloads = 20;
constexpr int kSamples = 500;
constexpr const char* kSpoilPercent = "3";
constexpr const char* kLatePercent = "3:1050";
const std::string kLastSeason = "last season's report\n";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    }
    closedir(d);
  }
  return names;
}

// One download into `out` from a simulator with `extra` switches; the CLI's exit status.
int Download(const std::string& dir, const std::string& out, int seed, std::vector<std::string> extra,
             std::string& err) {
  std::vector<std::string> args = {"--link", dir + "/tty", "--samples", std::to_string(kSamples), "--seed",
                                   std::to_string(seed), "--exit-after", "600"};
  args.insert(args.end(), extra.begin(), extra.end());
  sim::SimChild logger;
  if (!logger.Start(PT_LOGGER_SIM_PATH, args, 5000)) {
    err = "the simulator did not start";
    return -1;
  }
  ::mkdir(out.c_str(), 0755);
  const int status =
      sim::RunToEnd(PT_CLI_PATH, {"download", "--port", dir + "/tty", "--dir", out, "--no-progress"}, 600000, err);
  logger.Stop();
  return status;
}

enum Verdict { kExact, kRefused, kWrong };

// The clean download of each seed, made once and judged against by both runs.
bool CleanDownload(const std::string& dir, int seed) {
  std::string err;
  if (Download(dir, dir + "/clean-" + std::to_string(seed), seed, {}, err) == 0) return true;
  std::fprintf(stderr, "seed %d: the clean download failed: %s\n", seed, err.c_str());
  return false;
}

Verdict Soak(const std::string& dir, int seed, const std::string& name, const std::vector<std::string>& faults) {
  const std::string clean = dir + "/clean-" + std::to_string(seed);
  const std::string noisy = dir + "/" + name + "-" + std::to_string(seed);
  std::string err;
  ::mkdir(noisy.c_str(), 0755);
  std::ofstream(noisy + "/tavovalu.html", std::ios::binary) << kLastSeason;
  const int status = Download(dir, noisy, seed, faults, err);
  const std::string report = ReadFile(noisy + "/tavovalu.html");
  if (status == 0 && report == ReadFile(clean + "/tavovalu.html")) return kExact;
  if (status > 0 && report == kLastSeason && Names(noisy).size() == 1) {
    std::fprintf(stderr, "%s seed %d: refused (%d): %s", name.c_str(), seed, status, err.c_str());
    return kRefused;
  }
  std::fprintf(stderr, "%s seed %d: WRONG: status %d, %s\n", name.c_str(), seed, status, err.c_str());
  return kWrong;
}

// Runs one fault over every seed and prints its tally; true when the target is met.
bool SoakRun(const std::string& dir, const bool* cleanOk, const std::string& name,
             const std::vector<std::string>& faults, const std::string& what) {
  int counts[3] = {0, 0, 0};
  for (int seed = 1; seed <= kDownloads; ++seed) ++counts[cleanOk[seed] ? Soak(dir, seed, name, faults) : kWrong];
  std::printf("%d downloads of %d samples, %s\n", kDownloads, kSamples, what.c_str());
  std::printf("  exact %d, refused with last season's report kept %d, wrong %d\n", counts[kExact], counts[kRefused],
              counts[kWrong]);
  std::fflush(stdout);
  return counts[kWrong] == 0 && counts[kExact] * 100 >= kDownloads * 95;
}

}  // namespace

int main(int argc, char** argv) {
  std::string before;
  if (argc == 3 && std::strcmp(argv[1], "--before") == 0) before = argv[2];
  char templ[] = "/tmp/pt-soak-XXXXXX";
  if (mkdtemp(templ) == nullptr) return 1;
  const std::string dir = templ;

  bool cleanOk[kDownloads + 1] = {};
  for (int seed = 1; seed <= kDownloads; ++seed) cleanOk[seed] = CleanDownload(dir, seed);
  std::printf("target of each run: 0 wrong, at least %d exact\n", (kDownloads * 95 + 99) / 100);
  const bool spoiltMet = SoakRun(dir, cleanOk, "spoilt", {"--spoil", kSpoilPercent},
                                 std::string(kSpoilPercent) + " % of the first sample asks spoilt");
  const bool lateMet = SoakRun(dir, cleanOk, "late", {"--late-percent", kLatePercent},
                               "3 % of the first sample asks answered 1.05 s late, then the resend");

  std::printf("clean line, 9600 baud, 2000 samples, paced: ms per sample\n");
  const bench::DownloadTiming now = bench::TimeCliDownload(PT_CLI_PATH, dir, 9600, 2000);
  std::printf("  this build    %s  %.2f\n", PT_CLI_PATH, now.msPerSample);
  if (!before.empty()) {
    const bench::DownloadTiming then = bench::TimeCliDownload(before, dir, 9600, 2000);
    std::printf("  before        %s  %.2f  (difference %+.1f %%)\n", before.c_str(), then.msPerSample,
                then.ok && then.msPerSample > 0 ? 100.0 * (now.msPerSample - then.msPerSample) / then.msPerSample : 0.0);
  }
  std::system(("rm -rf '" + dir + "'").c_str());
  const bool met = spoiltMet && lateMet && now.ok;
  return met ? 0 : 1;
}
