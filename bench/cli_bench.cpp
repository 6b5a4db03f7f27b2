// How close a console download comes to the speed of the line: paddytherm-cli fetches 2000
// samples from the simulated logger, which sends its replies no faster than the line would, at
// 9600 and at 19200 baud. Prints the time a sample takes (from the simulator's transcript: the
// first sample command to the last, over the commands between), the time its bytes need on the
// wire (command and reply, 11 bits a byte with start, parity and stop bit), and their ratio.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "sim_child.h"

namespace {

constexpr int kSamples = 2000;
constexpr double kCommandBytes = 8;  // "Rdt0000" CR
constexpr double kReplyBytes = 6;    // LF, four hexadecimal digits, CR

struct Figures {
  bool ok = false;
  double msPerSample = 0;
  double totalMs = 0;
};

Figures Measure(const std::string& dir, unsigned baud) {
  Figures f;
  const std::string tty = dir + "/tty", transcript = dir + "/transcript-" + std::to_string(baud);
  sim::SimChild logger;
  if (!logger.Start(PT_LOGGER_SIM_PATH,
                    {"--link", tty, "--pace", "--samples", std::to_string(kSamples), "--transcript", transcript,
                     "--exit-after", "600"},
                    5000)) {
    std::fprintf(stderr, "the simulator did not start\n");
    return f;
  }
  std::string err;
  const int status = sim::RunToEnd(PT_CLI_PATH,
                                   {"download", "--port", tty, "--baud", std::to_string(baud), "--dir", dir,
                                    "--no-progress"},
                                   600000, err);
  logger.Stop();
  if (status != 0) {
    std::fprintf(stderr, "paddytherm-cli ended with %d: %s\n", status, err.c_str());
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
  if (sampleTimes.size() != static_cast<std::size_t>(kSamples)) {
    std::fprintf(stderr, "expected %d sample commands, saw %zu\n", kSamples, sampleTimes.size());
    return f;
  }
  f.msPerSample = static_cast<double>(sampleTimes.back() - sampleTimes.front()) / (kSamples - 1);
  f.totalMs = static_cast<double>(last - first);
  f.ok = true;
  return f;
}

}  // namespace

int main() {
  char templ[] = "/tmp/pt-cli-bench-XXXXXX";
  if (mkdtemp(templ) == nullptr) return 1;
  const std::string dir = templ;
  std::printf("paddytherm-cli download of %d samples, simulated logger with --pace\n", kSamples);
  // The simulator paces only its replies (the command crosses the pty at once), so the second
  // ratio, against the reply's own bytes, is the one that shows what the loop itself costs.
  std::printf("%6s  %10s  %10s  %6s  %11s  %6s  %10s\n", "baud", "ms/sample", "wire ms", "ratio", "reply ms",
              "ratio", "total ms");
  int failures = 0;
  for (unsigned baud : {9600u, 19200u}) {
    const Figures f = Measure(dir, baud);
    if (!f.ok) {
      ++failures;
      continue;
    }
    const double wireMs = (kCommandBytes + kReplyBytes) * 11.0 * 1000.0 / baud;
    const double replyMs = kReplyBytes * 11.0 * 1000.0 / baud;
    std::printf("%6u  %10.2f  %10.2f  %6.2f  %11.2f  %6.2f  %10.0f\n", baud, f.msPerSample, wireMs,
                f.msPerSample / wireMs, replyMs, f.msPerSample / replyMs, f.totalMs);
  }
  std::printf("target: ratio at most 1.30; the dialog's 10 ms tick alone costs at least 40 ms a sample\n");
  std::system(("rm -rf '" + dir + "'").c_str());
  return failures == 0 ? 0 : 1;
}
