#include "cli_download_timing.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "sim_child.h"

namespace bench {

DownloadTiming TimeCliDownload(const std::string& cli, const std::string& dir, unsigned baud, int samples) {
  DownloadTiming f;
  const std::string tty = dir + "/tty", transcript = dir + "/transcript-" + std::to_string(baud);
  sim::SimChild logger;
  if (!logger.Start(PT_LOGGER_SIM_PATH,
                    {"--link", tty, "--pace", "--samples", std::to_string(samples), "--transcript", transcript,
                     "--exit-after", "600"},
                    5000)) {
    std::fprintf(stderr, "the simulator did not start\n");
    return f;
  }
  std::string err;
  const int status = sim::RunToEnd(
      cli, {"download", "--port", tty, "--baud", std::to_string(baud), "--dir", dir, "--no-progress"}, 600000, err);
  logger.Stop();
  if (status != 0) {
    std::fprintf(stderr, "%s ended with %d: %s\n", cli.c_str(), status, err.c_str());
    return f;
  }
  std::vector<long long> sampleTimes;
  long long first = -1, last = -1;
  std::ifstream in(transcript);
  for (std::string line; std::getline(in, line);) {
    const auto space = line.find(' ');
    const long long ms = std::atoll(line.c_str());
    if (first < 0) first = ms;
    last = ms;
    if (space != std::string::npos && line.compare(space + 1, 3, "Rdt") == 0) sampleTimes.push_back(ms);
  }
  if (sampleTimes.size() != static_cast<std::size_t>(samples)) {
    std::fprintf(stderr, "expected %d sample commands, saw %zu\n", samples, sampleTimes.size());
    return f;
  }
  f.msPerSample = static_cast<double>(sampleTimes.back() - sampleTimes.front()) / (samples - 1);
  f.totalMs = static_cast<double>(last - first);
  f.ok = true;
  return f;
}

}  // namespace bench
