#include "platform/output_file.h"
#include "platform/replacement_file.h"

#include <windows.h>

#include "platform/win32/file_names_win32.h"

namespace pt {

namespace {

// As the replacement opens it.
std::wstring Wide(const std::string& path) { return WideFileName(path); }

std::wstring FullPath(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  full.resize(got < n ? got : 0);
  return full;
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

// Every output is replaced whole here: NUL and CON are refused by the replacement.
OutputKind OutputKindOf(const std::string&) { return OutputKind::Replaced; }

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

int FolderError(const std::string& dir) {
  const DWORD attributes = GetFileAttributesW(Wide(dir).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return static_cast<int>(GetLastError());
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ERROR_DIRECTORY;
}

// No path is of kind Direct here.
int WriteDirect(const std::string&, const std::string&) { return ERROR_NOT_SUPPORTED; }

int WriteFaultCode() { return ERROR_WRITE_FAULT; }

}  // namespace pt
