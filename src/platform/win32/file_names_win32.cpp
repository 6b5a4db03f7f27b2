#include "platform/win32/file_names_win32.h"

#include <windows.h>

#include "platform/file_names.h"

namespace pt {

namespace {

bool gUtf8 = false;

}  // namespace

void UseUtf8FileNames() { gUtf8 = true; }

std::wstring WideFileName(const std::string& path, NameBytes names) {
  const bool utf8 = gUtf8 || names == NameBytes::Utf8;
  const UINT codePage = utf8 ? CP_UTF8 : AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const DWORD flags = utf8 ? MB_ERR_INVALID_CHARS : 0;
  const int n = MultiByteToWideChar(codePage, flags, path.c_str(), -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, path.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  const std::wstring name = WideFileName(path);
  std::wstring wideMode;
  for (const char* m = mode; *m != '\0'; ++m) wideMode += static_cast<wchar_t>(*m);
  return name.empty() ? nullptr : _wfopen(name.c_str(), wideMode.c_str());
}

bool MakeFolder(const std::string& path, NameBytes names, int* error) {
  const std::wstring name = WideFileName(path, names);
  if (name.empty()) {
    *error = static_cast<int>(ERROR_INVALID_NAME);
    return false;
  }
  if (CreateDirectoryW(name.c_str(), nullptr)) return true;
  DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
    code = ERROR_DIRECTORY;
  }
  *error = static_cast<int>(code);
  return false;
}

}  // namespace pt
