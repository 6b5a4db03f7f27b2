#include "output_files.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/replacement_file.h"

namespace cli {

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

enum class CsvKind { Replaced, Direct, Unusable };

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

CsvKind KindOf(const std::string& csv) {
  if (StreamOf(csv) >= 0) return CsvKind::Direct;
  struct stat st {};
  // The kernel follows the links (even /dev/stdout's). A name that does not exist yet, or cannot
  // be looked at, is left to the replacement to judge.
  if (::stat(csv.c_str(), &st) != 0) return CsvKind::Replaced;
  if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) return CsvKind::Direct;
  // A folder is refused when the file is put in place, after the report has been written.
  if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) return CsvKind::Replaced;
  return CsvKind::Unusable;
}

// Creates and removes a temporary beside `path`, as the replacement of `path` will.
bool CanReplace(const std::string& path, std::string& reason) {
  pt::ReplacementFile probe;
  if (!probe.Open(path.c_str())) {
    reason = std::strerror(probe.Error());
    return false;
  }
  probe.Discard();
  return true;
}

bool WriteDirect(const std::string& path, const std::string& content, int& error) {
  const int stream = StreamOf(path);
  if (stream >= 0) std::fflush(nullptr);  // what the program printed before comes first
  const int fd = stream >= 0 ? stream : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return false;
  }
  const char* p = content.data();
  std::size_t left = content.size();
  error = 0;
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
  return error == 0;
}

}  // namespace

bool NamesSameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  const bool hasA = ::stat(a.c_str(), &sa) == 0;
  const bool hasB = ::stat(b.c_str(), &sb) == 0;
  if (hasA && hasB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (hasA || hasB) return false;
  // Neither exists yet: where each would be created, a dangling link followed to its target.
  const std::string ca = CanonicalName(pt::ReplacementTarget(a));
  return !ca.empty() && ca == CanonicalName(pt::ReplacementTarget(b));
}

bool WrittenDirectly(const std::string& path) { return KindOf(path) == CsvKind::Direct; }

ExitStatus CheckDownloadOutputs(const std::string& dir, const std::string& reportPath, const std::string& csv,
                                std::string& error) {
  struct stat st {};
  std::string reason;
  if (::stat(dir.c_str(), &st) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISDIR(st.st_mode)) {
    reason = std::strerror(ENOTDIR);
  }
  if (!reason.empty()) {
    error = "cannot use directory " + dir + ": " + reason;
    return kExitFile;
  }
  if (!CanReplace(reportPath, reason)) {
    error = "cannot write " + reportPath + " (no file can be made in its directory): " + reason;
    return kExitFile;
  }
  if (csv.empty()) return kExitOk;
  switch (KindOf(csv)) {
    case CsvKind::Direct:
      return kExitOk;
    case CsvKind::Unusable:
      error = "cannot write the CSV to " + csv + ": it is not a file, a FIFO or a character device";
      return kExitFile;
    case CsvKind::Replaced:
      break;
  }
  if (!CanReplace(csv, reason)) {
    error = "cannot create a file beside " + csv + ": " + reason;
    return kExitFile;
  }
  return kExitOk;
}

bool WriteOutputFile(const std::string& path, const std::string& content, std::string& error) {
  int code = 0;
  const CsvKind kind = KindOf(path);
  if (kind == CsvKind::Unusable) {
    error = "cannot write " + path + ": it is not a file, a FIFO or a character device";
    return false;
  }
  if (kind == CsvKind::Direct) {
    if (WriteDirect(path, content, code)) return true;
  } else {
    pt::ReplacementFile file;
    if (file.Open(path.c_str()) && file.Write(content.data(), content.size()) && file.Commit()) return true;
    code = file.Error();
  }
  error = "cannot write " + path + ": " + std::strerror(code != 0 ? code : EIO);
  return false;
}

}  // namespace cli
