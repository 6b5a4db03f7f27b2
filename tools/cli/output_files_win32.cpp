#include <windows.h>

#include "console_out.h"
#include "output_files.h"
#include "platform/replacement_file.h"
#include "platform/win32/file_names_win32.h"

namespace cli {

namespace {

// As the replacement opens it.
std::wstring Wide(const std::string& path) { return pt::WideFileName(path); }

std::wstring FullPath(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  full.resize(got < n ? got : 0);
  return full;
}

bool CanReplace(const std::string& path, std::string& reason) {
  pt::ReplacementFile probe;
  if (!probe.Open(path.c_str())) {
    reason = SystemErrorText(probe.Error());
    return false;
  }
  probe.Discard();
  return true;
}

}  // namespace

// Windows' names are case-blind; links and hard links are not looked through here.
bool NamesSameFile(const std::string& a, const std::string& b) {
  const std::wstring fa = FullPath(a), fb = FullPath(b);
  return !fa.empty() && CompareStringOrdinal(fa.c_str(), -1, fb.c_str(), -1, TRUE) == CSTR_EQUAL;
}

ExitStatus CheckDownloadOutputs(const std::string& dir, const std::string& reportPath, const std::string& csv,
                                std::string& error) {
  if (!csv.empty() && NamesSameFile(csv, reportPath)) {
    error = "--csv " + csv + " is the report " + reportPath + " itself; give the CSV a name of its own";
    return kExitBadInput;
  }
  const DWORD attributes = GetFileAttributesW(Wide(dir).c_str());
  std::string reason;
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    reason = SystemErrorText(static_cast<int>(GetLastError()));
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    reason = SystemErrorText(ERROR_DIRECTORY);
  }
  if (!reason.empty()) {
    error = "cannot use directory " + dir + ": " + reason;
    return kExitFile;
  }
  if (!CanReplace(reportPath, reason)) {
    error = "cannot write " + reportPath + " (no file can be made in its directory): " + reason;
    return kExitFile;
  }
  if (!csv.empty() && !CanReplace(csv, reason)) {
    error = "cannot create a file beside " + csv + ": " + reason;
    return kExitFile;
  }
  return kExitOk;
}

// A regular file, replaced whole.
bool WriteCsvFile(const std::string& path, const std::string& content, std::string& error) {
  pt::ReplacementFile file;
  if (file.Open(path.c_str()) && file.Write(content.data(), content.size()) && file.Commit()) return true;
  error = "cannot write " + path + ": " + SystemErrorText(file.Error() != 0 ? file.Error() : ERROR_WRITE_FAULT);
  return false;
}

}  // namespace cli
