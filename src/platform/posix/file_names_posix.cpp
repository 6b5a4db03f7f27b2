#include "platform/file_names.h"

#include <sys/stat.h>

#include <cerrno>

namespace pt {

void UseUtf8FileNames() {}

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool MakeFolder(const std::string& path, NameBytes, int* error) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  int code = errno;
  struct stat st {};
  if (code == EEXIST) {
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
    code = ENOTDIR;
  }
  *error = code;
  return false;
}

}  // namespace pt
