#include <windows.h>

#include "platform/system_error.h"
#include "platform/input_file.h"
#include "platform/win32/file_names_win32.h"

namespace pt {

bool ReadInputFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error) {
  // Read shared, as any reader would; a pipe or a device is told by its type before a read.
  const HANDLE h = CreateFileW(pt::WideFileName(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = "cannot open " + path + ": " + SystemErrorText(static_cast<int>(GetLastError()));
    return false;
  }
  std::string why;
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    why = "it is not a file";
  } else if (!GetFileSizeEx(h, &size)) {
    why = SystemErrorText(static_cast<int>(GetLastError()));
  } else if (static_cast<unsigned long long>(size.QuadPart) > limit) {
    why = std::to_string(size.QuadPart) + " bytes is more than a report of a full season can be (" +
          std::to_string(limit >> 20) + " MB)";
  }
  std::string out;
  char buffer[65536];
  while (why.empty() && out.size() <= limit) {
    DWORD n = 0;
    if (!ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
      why = SystemErrorText(static_cast<int>(GetLastError()));
    } else if (n == 0) {
      break;
    } else {
      out.append(buffer, n);
    }
  }
  CloseHandle(h);
  return FinishInputRead(path, limit, why, out, bytes, error);
}

}  // namespace pt
