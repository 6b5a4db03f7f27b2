#include "platform/current_dir.h"

#include <unistd.h>

#include <cstring>

namespace pt {

int GetCurrentDir(char* buf, int size) {
  if (buf == nullptr || size <= 0) return -1;
  // getcwd fails with ERANGE rather than truncate, which is what we want.
  if (getcwd(buf, static_cast<size_t>(size)) == nullptr) {
    buf[0] = '\0';
    return -1;
  }
  return static_cast<int>(std::strlen(buf));
}

}  // namespace pt
