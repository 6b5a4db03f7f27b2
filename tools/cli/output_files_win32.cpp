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

// The volume and index of an existing file, links followed; false when it cannot be opened.
bool IdentityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // No access asked: only what the file is, so a file open elsewhere unshared still answers.
  const HANDLE h = CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const BOOL ok = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  return ok != 0;
}

}  // namespace

// Files that exist by volume serial number and file index (through hard links, symbolic links
// and junctions); otherwise by full path, without regard to case, as Windows reads names.
bool NamesSameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  if (IdentityOf(a, ia) && IdentityOf(b, ib)) {
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
  }
  const std::wstring fa = FullPath(a), fb = FullPath(b);
  return !fa.empty() && CompareStringOrdinal(fa.c_str(), -1, fb.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Every output is replaced whole here: NUL and CON are refused by the replacement.
bool WrittenDirectly(const std::string&) { return false; }

ExitStatus CheckDownloadOutputs(const std::string& dir, const std::string& reportPath, const std::string& csv,
                                std::string& error) {
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
bool WriteOutputFile(const std::string& path, const std::string& content, std::string& error) {
  pt::ReplacementFile file;
  if (file.Open(path.c_str()) && file.Write(content.data(), content.size()) && file.Commit()) return true;
  error = "cannot write " + path + ": " + SystemErrorText(file.Error() != 0 ? file.Error() : ERROR_WRITE_FAULT);
  return false;
}

}  // namespace cli
