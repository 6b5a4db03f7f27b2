#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/input_file.h"

namespace pt {

namespace {

const char* KindName(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// "" when `st` is a regular file within `limit`, otherwise why not.
std::string Unfit(const struct stat& st, std::size_t limit) {
  if (!S_ISREG(st.st_mode)) return std::string("it is ") + KindName(st.st_mode) + ", not a file";
  if (static_cast<unsigned long long>(st.st_size) > limit) {
    return std::to_string(st.st_size) + " bytes is more than a report of a full season can be (" +
           std::to_string(limit >> 20) + " MB)";
  }
  return "";
}

}  // namespace

bool ReadInputFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error) {
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string why = Unfit(before, limit);
  if (!why.empty()) {
    error = "cannot read " + path + ": " + why;
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat after {};
  if (::fstat(fd, &after) != 0) {
    why = std::strerror(errno);
  } else if (after.st_dev != before.st_dev || after.st_ino != before.st_ino) {
    why = "it was replaced while it was opened";
  } else {
    why = Unfit(after, limit);
  }
  std::string out;
  char buffer[65536];
  // One byte past the limit tells a file that grew since it was looked at.
  while (why.empty() && out.size() <= limit) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      why = std::strerror(errno);
    }
  }
  ::close(fd);
  return FinishInputRead(path, limit, why, out, bytes, error);
}

}  // namespace pt
