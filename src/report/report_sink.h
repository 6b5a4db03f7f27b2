#pragma once
// Where the report's lines go: the file "tavovalu.html" in the current directory, or whatever a
// test installs in its place.
#include <cstddef>

namespace pt {

class ReportSink {
 public:
  virtual ~ReportSink() = default;
  // Creates the report anew (an earlier one is replaced); false when that is not possible.
  virtual bool Create() = 0;
  // Writes one line completely; false when any of it failed to reach the file.
  virtual bool Write(const char* bytes, std::size_t length) = 0;
  // Closes what Create opened; harmless when nothing is open.
  virtual void Close() = 0;
};

inline constexpr const char* kReportFileName = "tavovalu.html";

// Writes kReportFileName with <cstdio>, each line with its own write and flush, and holds the
// file unshared on Windows while it is open.
class FileReportSink : public ReportSink {
 public:
  FileReportSink() = default;
  FileReportSink(const FileReportSink&) = delete;
  FileReportSink& operator=(const FileReportSink&) = delete;
  ~FileReportSink() override { Close(); }

  bool Create() override;
  bool Write(const char* bytes, std::size_t length) override;
  void Close() override;

 private:
  void* file_ = nullptr;  // a std::FILE*, kept opaque so this header stays light
};

// The sink WriteReport uses; nullptr puts back the file in the current directory.
void SetReportSink(ReportSink* sink);
ReportSink& CurrentReportSink();

}  // namespace pt
