#include "platform/win32/file_names_win32.h"

#include <windows.h>

#include "platform/file_names.h"

namespace pt {

namespace {

bool gUtf8 = false;

}  // namespace

void UseUtf8FileNames() { gUtf8 = true; }

std::wstring WideFileName(const std::string& path) {
  const UINT codePage = gUtf8 ? CP_UTF8 : AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const DWORD flags = gUtf8 ? MB_ERR_INVALID_CHARS : 0;
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

}  // namespace pt
