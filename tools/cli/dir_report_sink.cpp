#include "dir_report_sink.h"

#include <cerrno>

namespace cli {

DirReportSink::DirReportSink(const std::string& dir)
    : path_(dir.empty() ? std::string(pt::kReportFileName)
                        : (dir.back() == '/' ? dir : dir + "/") + pt::kReportFileName) {}

bool DirReportSink::Create() {
  Close();
  file_ = std::fopen(path_.c_str(), "wb");
  if (file_ == nullptr && firstError_ == 0) firstError_ = errno != 0 ? errno : EIO;
  created_ = file_ != nullptr;
  return created_;
}

bool DirReportSink::Write(const char* bytes, std::size_t length) {
  if (file_ == nullptr) return false;
  // One flush a line, as the file sink does, so a failure shows at the line that caused it.
  const bool ok = std::fwrite(bytes, 1, length, file_) == length && std::fflush(file_) == 0;
  if (!ok && firstError_ == 0) firstError_ = errno != 0 ? errno : EIO;
  return ok;
}

void DirReportSink::Close() {
  if (file_ == nullptr) return;
  if (std::fclose(file_) != 0 && firstError_ == 0) firstError_ = errno != 0 ? errno : EIO;
  file_ = nullptr;
}

}  // namespace cli
