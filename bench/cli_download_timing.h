#pragma once
// The time a console download takes a sample on a clean, paced line: paddytherm-cli fetches
// `samples` samples from the simulated logger, which sends its replies no faster than the line
// would. Read from the simulator's transcript: the first sample command to the last, over the
// commands between.
#include <string>

namespace bench {

struct DownloadTiming {
  bool ok = false;
  double msPerSample = 0;
  double totalMs = 0;
};

DownloadTiming TimeCliDownload(const std::string& cli, const std::string& dir, unsigned baud, int samples);

}  // namespace bench
