#include "platform/replacement_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/temporary_name.h"

namespace pt {

namespace {

constexpr int kMaxLinks = 40;  // as the kernel follows them (ELOOP beyond)
constexpr int kNameTries = 100;

// `path` up to and including its last slash; "" for a bare name.
std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows the symbolic links at the final name of `path`; false (ELOOP) on a cycle.
bool FollowLinks(std::string& path) {
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return true;  // let open decide
    target.resize(static_cast<std::size_t>(n));
    path = target[0] == '/' ? target : FolderPart(path) + target;
  }
  return false;
}

// The temporaries open in this process, for a signal handler to remove. A slot's name is only
// read while `used` is set, and only written while it is clear.
constexpr int kSlots = 8;
struct OpenTemporary {
  std::atomic<bool> used{false};
  char path[PATH_MAX];
};
OpenTemporary gOpen[kSlots];
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

// SIGINT, SIGTERM, SIGHUP and SIGQUIT wait while a temporary is made, renamed or removed and listed or unlisted,
// so the handler never misses one that exists nor removes a name that is no longer ours.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGINT);
    sigaddset(&held, SIGTERM);
    sigaddset(&held, SIGHUP);  // a closed terminal or a dropped ssh session
    sigaddset(&held, SIGQUIT);
    pthread_sigmask(SIG_BLOCK, &held, &old_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

// A name too long for a slot, or a ninth open file, is not listed: it is still removed on
// every other way out.
int List(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    if (gOpen[i].used.load()) continue;
    std::memcpy(gOpen[i].path, path.c_str(), path.size() + 1);
    gOpen[i].used.store(true);
    return i;
  }
  return -1;
}

void Unlist(int& slot) {
  if (slot >= 0) gOpen[slot].used.store(false);
  slot = -1;
}

}  // namespace

void RemoveOpenTemporaries() {
  for (OpenTemporary& t : gOpen) {
    if (t.used.load()) ::unlink(t.path);
  }
}

std::string ReplacementTarget(const std::string& path) {
  std::string target = path;
  FollowLinks(target);
  return target;
}

void ReplacementFile::Failed(int code) {
  failed_ = true;
  if (error_ == 0) error_ = code != 0 ? code : EIO;
}

bool ReplacementFile::Open(const char* path) {
  Start(path, false);
  if (final_.empty()) {
    Failed(ENOENT);
    return false;
  }
  if (!FollowLinks(final_)) {
    Failed(ELOOP);
    return false;
  }
  // The mode bits of the file it replaces; a new file gets 0666 less the umask from open.
  struct stat old {};
  const bool keepMode = ::stat(final_.c_str(), &old) == 0 && S_ISREG(old.st_mode);

  int fd = -1;
  {
    const SignalsHeld held;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
      temp_ = final_ + TemporarySuffix(static_cast<std::uint64_t>(::getpid()));
      fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST && errno != EINTR) break;
    }
    if (fd >= 0) slot_ = List(temp_);
  }
  if (fd < 0) {
    Failed(errno);
    temp_.clear();
    return false;
  }
  handle_ = fd;
  if (keepMode && ::fchmod(fd, old.st_mode & 07777) != 0) {
    Failed(errno);
    Discard();
    return false;
  }
  return true;
}

bool ReplacementFile::OpenNew(const char* path) {
  Start(path, true);
  int fd = -1;
  {
    const SignalsHeld held;
    // A symbolic link at the name is a name in use: never written through.
    do {
      fd = ::open(final_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
      temp_ = final_;
      slot_ = List(temp_);
    }
  }
  if (fd < 0) {
    taken_ = errno == EEXIST;
    Failed(final_.empty() ? ENOENT : errno);
    return false;
  }
  handle_ = fd;
  return true;
}

bool ReplacementFile::Write(const void* bytes, std::size_t length) {
  if (!IsOpen()) return false;
  const char* p = static_cast<const char*>(bytes);
  while (length > 0) {
    const ssize_t n = ::write(static_cast<int>(handle_), p, length);
    if (n > 0) {
      p += n;
      length -= static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      Failed(n == 0 ? EIO : errno);
      return false;
    }
  }
  return true;
}

bool ReplacementFile::Commit() {
  if (!IsOpen()) return false;
  const int fd = static_cast<int>(handle_);
  handle_ = -1;
  // The contents reach the disk before the name does; a file system without fsync says EINVAL.
  if (!failed_ && ::fsync(fd) != 0 && errno != EINVAL) Failed(errno);
  if (::close(fd) != 0 && !failed_) Failed(errno);
  {
    const SignalsHeld held;
    if (!failed_ && !inPlace_ && ::rename(temp_.c_str(), final_.c_str()) != 0) Failed(errno);
    if (failed_) ::unlink(temp_.c_str());
    Unlist(slot_);
    temp_.clear();
  }
  if (failed_) return false;
  // The new name itself on disk, as far as the folder can be synced.
  const std::string folder = FolderPart(final_);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void ReplacementFile::Discard() {
  if (IsOpen()) {
    ::close(static_cast<int>(handle_));
    handle_ = -1;
  }
  if (!temp_.empty()) {
    const SignalsHeld held;
    ::unlink(temp_.c_str());
    Unlist(slot_);
    temp_.clear();
  }
}

}  // namespace pt
