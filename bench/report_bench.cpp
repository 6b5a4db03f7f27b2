// Times the full-season report (10000 samples) as the program writes it, one write and flush per
// line, against the same bytes written with a single buffered write, in a temporary folder.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "support/fake_dialog.h"
#include "report/html_report.h"
#include "report/samples.h"
#include "app/program_state.h"

namespace {

// Collects the report in memory, for the one-write comparison.
class StringSink : public pt::ReportSink {
 public:
  std::string bytes;
  bool Create() override {
    bytes.clear();
    return true;
  }
  bool Write(const char* data, std::size_t length) override {
    bytes.append(data, length);
    return true;
  }
  bool Commit() override { return true; }
  void Close() override {}
};


std::uint32_t Table[pt::kSampleTableSize];

// Seconds of the steady clock.
double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  for (int i = 0; i < pt::kSampleTableSize; ++i) {
    Table[i] = 0x0100u + static_cast<std::uint32_t>((i * 7) % 400) + (i % 11 == 0 ? 0x4000u : 0u);
  }
  const fs::path dir = fs::temp_directory_path() / ("pt_report_bench_" + std::to_string(std::random_device{}()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path home = fs::current_path();
  fs::current_path(dir);

  constexpr int kRounds = 5;
  pt::test::FakeDialog dlg;
  double perLine = 1e9;
  for (int r = 0; r < kRounds; ++r) {
    pt::ResetProgramState();
    const double t0 = Now();
    pt::WriteReport(dlg, "STR:200804141500", "10000", Table);
    perLine = std::min(perLine, Now() - t0);
  }

  StringSink memory;
  {
    const pt::ScopedReportSink installSink(&memory);
    pt::ResetProgramState();
    pt::WriteReport(dlg, "STR:200804141500", "10000", Table);
  }

  double oneWrite = 1e9;
  for (int r = 0; r < kRounds; ++r) {
    const double t0 = Now();
    std::FILE* f = std::fopen("tavovalu_once.html", "wb");
    if (f == nullptr) return 1;
    std::fwrite(memory.bytes.data(), 1, memory.bytes.size(), f);
    std::fclose(f);
    oneWrite = std::min(oneWrite, Now() - t0);
  }

  const auto fileSize = fs::file_size("tavovalu.html");
  fs::current_path(home);
  fs::remove_all(dir);
  if (!dlg.boxes.empty() || fileSize != memory.bytes.size()) {
    std::printf("report_bench: the report was not written whole (%zu messages)\n", dlg.boxes.size());
    return 1;
  }
  std::printf("report of 10000 samples: %zu bytes\n", memory.bytes.size());
  std::printf("  one write and flush per line: %8.3f ms (best of %d)\n", perLine * 1e3, kRounds);
  std::printf("  one buffered write:           %8.3f ms (best of %d)\n", oneWrite * 1e3, kRounds);
  std::printf("  ratio:                        %8.1f\n", oneWrite > 0 ? perLine / oneWrite : 0.0);
  return 0;
}
