#pragma once
// Where the report's lines go: the file "tavovalu.html" in the current directory, or whatever a
// test installs in its place.
#include <cstddef>

#include "platform/replacement_file.h"

namespace pt {

class ReportSink {
 public:
  virtual ~ReportSink() = default;
  // Starts a new report; the one in place stays until Commit. False when that is not possible.
  virtual bool Create() = 0;
  // Writes one line completely; false when any of it failed to reach the file.
  virtual bool Write(const char* bytes, std::size_t length) = 0;
  // The report is complete: puts it in place of the earlier one. False, with the earlier one
  // left as it was, when a write since Create failed or the report cannot be put in place.
  virtual bool Commit() = 0;
  // Ends what Create started; a report not committed is abandoned. Harmless when nothing is open.
  virtual void Close() = 0;
};

inline constexpr const char* kReportFileName = "tavovalu.html";

// Writes kReportFileName as a ReplacementFile: each line is a write of its own, the file is held
// unshared on Windows while it is written, and it replaces the earlier report only when whole.
class FileReportSink : public ReportSink {
 public:
  FileReportSink() = default;
  FileReportSink(const FileReportSink&) = delete;
  FileReportSink& operator=(const FileReportSink&) = delete;
  ~FileReportSink() override { Close(); }

  bool Create() override { return file_.Open(kReportFileName); }
  bool Write(const char* bytes, std::size_t length) override { return file_.Write(bytes, length); }
  bool Commit() override { return file_.Commit(); }
  void Close() override { file_.Discard(); }

 private:
  ReplacementFile file_;
};

// The sink WriteReport uses; nullptr puts back the file in the current directory.
void SetReportSink(ReportSink* sink);
ReportSink* InstalledReportSink();  // nullptr while the file in the current directory is used
ReportSink& CurrentReportSink();

}  // namespace pt
