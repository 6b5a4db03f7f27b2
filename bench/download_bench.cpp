// How fast the dialog's download runs against the simulated logger at the real line speed:
// the sequencer driven by 10 ms ticks on the real clock, the simulator pacing its bytes as the
// line would. Prints ticks and milliseconds per sample and the ratio to the bytes' wire time.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "control_ids.h"
#include "logger/jobs.h"
#include "serial/port.h"
#include "serial/posix/serial_device_posix.h"
#include "sim_child.h"
#include "support/fake_dialog.h"
#include "support/real_time.h"
#include "app/program_state.h"

namespace {

struct Figures {
  bool ok = false;
  double ticksPerSample = 0, msPerSample = 0, wireMsPerSample = 0;
};

Figures Run(const std::string& dir, int baud, int samples) {
  using namespace pt;
  Figures f;
  sim::SimChild child;
  const std::string link = dir + "/COM1";
  if (!child.Start(PT_LOGGER_SIM_PATH, {"--link", link, "--samples", std::to_string(samples), "--pace",
                                        "--exit-after", "600"}, 5000)) {
    return f;
  }
  ResetProgramState();
  PosixSerialDevice device;
  device.SetComDirectory(dir);
  const ScopedPortDevice installDevice(&device);
  test::FakeDialog dlg;
  dlg.SetChecked(baud == 9600 ? IDC_SPEED_9600 : IDC_SPEED_19200, true);

  long long firstSample = -1;
  int ticks = 0, firstSampleTick = 0;
  StartJob(dlg, DownloadJob);
  test::RunOnRealClock(
      dlg, [&] { return Jobs.BusyFlag == 0 && !device.IsOpen(); }, 600000,
      [&] {
        ++ticks;
        if (firstSample < 0 && IsReadingSamples()) {
          firstSample = test::MonotonicNowMs();
          firstSampleTick = ticks;
        }
      });
  const long long end = test::MonotonicNowMs();
  child.Stop();
  unlink(link.c_str());
  if (!dlg.boxes.empty() || firstSample < 0) return f;
  // Samples only: from the first sample's send to the job's end (the report included).
  f.ok = true;
  f.ticksPerSample = static_cast<double>(ticks - firstSampleTick) / samples;
  f.msPerSample = static_cast<double>(end - firstSample) / samples;
  // "Rdt0000\r" out, "\n" + four hex digits + "\r" back; 11 bits a byte with 8E1.
  const double bytes = 8 + 6;
  f.wireMsPerSample = bytes * 11.0 * 1000.0 / baud;
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::atoi(argv[1]) : 200;
  char templ[] = "/tmp/pt-bench-XXXXXX";
  if (mkdtemp(templ) == nullptr) return 1;
  const std::string dir = templ;
  if (chdir(dir.c_str()) != 0) return 1;
  std::printf("dialog download, %d samples, 10 ms tick, simulator with --pace\n", samples);
  std::printf("%7s %14s %13s %17s %7s\n", "baud", "ticks/sample", "ms/sample", "wire ms/sample", "ratio");
  int status = 0;
  for (int baud : {9600, 19200}) {
    const Figures f = Run(dir, baud, samples);
    if (!f.ok) {
      std::printf("%7d  failed\n", baud);
      status = 1;
      continue;
    }
    std::printf("%7d %14.2f %13.2f %17.2f %7.2f\n", baud, f.ticksPerSample, f.msPerSample, f.wireMsPerSample,
                f.msPerSample / f.wireMsPerSample);
  }
  unlink((dir + "/tavovalu.html").c_str());
  rmdir(dir.c_str());
  return status;
}
