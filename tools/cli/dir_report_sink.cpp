#include "dir_report_sink.h"

#include <cerrno>

#include "path_join.h"

namespace cli {

DirReportSink::DirReportSink(const std::string& dir)
    : path_(JoinPath(dir, pt::kReportFileName)) {}

bool DirReportSink::Note(bool ok) {
  if (!ok && firstError_ == 0) firstError_ = file_.Error() != 0 ? file_.Error() : EIO;
  return ok;
}

bool DirReportSink::Create() {
  created_ = Note(file_.Open(path_.c_str()));
  return created_;
}

bool DirReportSink::Write(const char* bytes, std::size_t length) { return Note(file_.Write(bytes, length)); }

bool DirReportSink::Commit() { return Note(file_.Commit()); }

}  // namespace cli
