#include "report/report_sink.h"

#include <cstdio>
#ifdef _WIN32
#include <share.h>
#endif

namespace pt {

namespace {

FileReportSink DefaultSink;
ReportSink* InstalledSink = nullptr;

}  // namespace

bool FileReportSink::Create() {
  Close();
#ifdef _WIN32
  // Nobody else may read or write the report while it is half written.
  std::FILE* f = _fsopen(kReportFileName, "wb", _SH_DENYRW);
#else
  std::FILE* f = std::fopen(kReportFileName, "wb");
#endif
  file_ = f;
  return f != nullptr;
}

bool FileReportSink::Write(const char* bytes, std::size_t length) {
  auto* f = static_cast<std::FILE*>(file_);
  if (f == nullptr) return false;
  // Flushing every line makes each line a write of its own, so a failure is seen at its line.
  const bool written = std::fwrite(bytes, 1, length, f) == length;
  const bool flushed = std::fflush(f) == 0;
  return written && flushed;
}

void FileReportSink::Close() {
  if (file_ != nullptr) {
    std::fclose(static_cast<std::FILE*>(file_));
    file_ = nullptr;
  }
}

void SetReportSink(ReportSink* sink) { InstalledSink = sink; }

ReportSink& CurrentReportSink() { return InstalledSink != nullptr ? *InstalledSink : DefaultSink; }

}  // namespace pt
