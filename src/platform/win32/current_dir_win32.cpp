#include "platform/current_dir.h"

#include <windows.h>

namespace pt {

int GetCurrentDir(char* buf, int size) {
  if (buf == nullptr || size <= 0) return -1;
  // On a buffer that is too small the call returns the size it would need (NUL included) and
  // leaves the buffer's contents undefined; 0 means it failed outright.
  const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(size), buf);
  if (n == 0 || n >= static_cast<DWORD>(size)) {
    buf[0] = '\0';
    return -1;
  }
  return static_cast<int>(n);
}

}  // namespace pt
