#pragma once
// The report file "tavovalu.html" in a chosen directory instead of the current one, replaced
// whole like the dialog's.
#include <string>

#include "platform/replacement_file.h"
#include "report/report_sink.h"

namespace cli {

class DirReportSink : public pt::ReportSink {
 public:
  // `dir` "" is the current directory.
  explicit DirReportSink(const std::string& dir);
  ~DirReportSink() override { Close(); }
  DirReportSink(const DirReportSink&) = delete;
  DirReportSink& operator=(const DirReportSink&) = delete;

  const std::string& Path() const { return path_; }
  bool Created() const { return created_; }
  // The errno of the first failure (create, write or commit), 0 when there was none.
  int FirstError() const { return firstError_; }

  bool Create() override;
  bool Write(const char* bytes, std::size_t length) override;
  bool Commit() override;
  void Close() override { file_.Discard(); }

 private:
  bool Note(bool ok);

  std::string path_;
  pt::ReplacementFile file_;
  bool created_ = false;
  int firstError_ = 0;
};

}  // namespace cli
