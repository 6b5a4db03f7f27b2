#include "platform/output_file.h"
#include "platform/replacement_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>


namespace pt {

namespace {

// The canonical folder and the name of `path`; "" when the folder cannot be resolved.
std::string CanonicalName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  char resolved[PATH_MAX];
  if (name.empty() || ::realpath(folder.c_str(), resolved) == nullptr) return "";
  return std::string(resolved) + (std::strcmp(resolved, "/") == 0 ? "" : "/") + name;
}

// The descriptor a name of this process's own streams stands for (/dev/stdout, /dev/stderr,
// /dev/fd/N, /proc/self/fd/N), or -1. Such a name leads to whatever the shell opened, a file
// with `>> log.txt` too; replacing that file would lose what it held and what the program prints
// to it after, so the stream is written as it is.
int StreamOf(const std::string& path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    const std::size_t n = std::strlen(prefix);
    if (path.compare(0, n, prefix) != 0 || path.size() == n || path.size() > n + 9) continue;
    int fd = 0;
    for (std::size_t i = n; i < path.size(); ++i) {
      if (path[i] < '0' || path[i] > '9') return -1;
      fd = fd * 10 + (path[i] - '0');
    }
    return fd;
  }
  return -1;
}

}  // namespace

OutputKind OutputKindOf(const std::string& path) {
  if (StreamOf(path) >= 0) return OutputKind::Direct;
  struct stat st {};
  // The kernel follows the links (even /dev/stdout's). A name that does not exist yet, or cannot
  // be looked at, is left to the replacement to judge.
  if (::stat(path.c_str(), &st) != 0) return OutputKind::Replaced;
  if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) return OutputKind::Direct;
  // A folder is refused when the file is put in place, after the report has been written.
  if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) return OutputKind::Replaced;
  return OutputKind::Unusable;
}

// The same device and inode where both exist, otherwise the same canonical folder and name
// (symbolic links at the final name followed first).
bool NamesSameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  const bool hasA = ::stat(a.c_str(), &sa) == 0;
  const bool hasB = ::stat(b.c_str(), &sb) == 0;
  if (hasA && hasB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (hasA || hasB) return false;
  // Neither exists yet: where each would be created, a dangling link followed to its target.
  const std::string ca = CanonicalName(ReplacementTarget(a));
  return !ca.empty() && ca == CanonicalName(ReplacementTarget(b));
}

int FolderError(const std::string& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

int WriteDirect(const std::string& path, const std::string& content) {
  const int stream = StreamOf(path);
  if (stream >= 0) std::fflush(nullptr);  // what the program printed before comes first
  const int fd = stream >= 0 ? stream : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;
  const char* p = content.data();
  std::size_t left = content.size();
  int error = 0;
  while (left > 0 && error == 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n > 0) {
      p += n;
      left -= static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      error = n == 0 ? EIO : errno;
    }
  }
  if (stream < 0 && ::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  return error;
}

int WriteFaultCode() { return EIO; }

}  // namespace pt
