// How close a console download comes to the speed of the line: paddytherm-cli fetches 2000
// samples from the paced simulated logger at 9600 and at 19200 baud. Prints the time a sample
// takes, the time its bytes need on the wire (command and reply, 11 bits a byte with start,
// parity and stop bit), and their ratio.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli_download_timing.h"

namespace {

constexpr int kSamples = 2000;
constexpr double kCommandBytes = 8;  // "Rdt0000" CR
constexpr double kReplyBytes = 6;    // LF, four hexadecimal digits, CR

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
    const bench::DownloadTiming f = bench::TimeCliDownload(PT_CLI_PATH, dir, baud, kSamples);
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
