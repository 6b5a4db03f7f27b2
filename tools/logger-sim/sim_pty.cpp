#include "sim_pty.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

bool OpenPty(Pty& pty, std::string& error) {
  pty.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.master < 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    return false;
  }
  char name[128];
  if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0 ||
      ptsname_r(pty.master, name, sizeof name) != 0) {
    error = std::string("grantpt/unlockpt/ptsname: ") + std::strerror(errno);
    ClosePty(pty);
    return false;
  }
  pty.slavePath = name;
  pty.slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.slave < 0) {
    error = "open " + pty.slavePath + ": " + std::strerror(errno);
    ClosePty(pty);
    return false;
  }
  struct stat st{};
  if (fstat(pty.slave, &st) != 0) {
    error = std::string("fstat: ") + std::strerror(errno);
    ClosePty(pty);
    return false;
  }
  pty.device = st.st_rdev;
  termios t{};
  if (tcgetattr(pty.slave, &t) != 0) {
    error = std::string("tcgetattr: ") + std::strerror(errno);
    ClosePty(pty);
    return false;
  }
  cfmakeraw(&t);
  if (tcsetattr(pty.slave, TCSANOW, &t) != 0 || tcgetattr(pty.slave, &pty.fresh) != 0) {
    error = std::string("tcsetattr: ") + std::strerror(errno);
    ClosePty(pty);
    return false;
  }
  return true;
}

void ClosePty(Pty& pty) {
  if (pty.master >= 0) close(pty.master);
  if (pty.slave >= 0) close(pty.slave);
  pty.master = pty.slave = -1;
}

int OtherHolders(const Pty& pty) {
  DIR* proc = opendir("/proc");
  if (!proc) return -1;
  const std::string self = std::to_string(getpid());
  int holders = 0;
  while (const dirent* p = readdir(proc)) {
    if (p->d_name[0] < '1' || p->d_name[0] > '9' || self == p->d_name) continue;
    const std::string fdDir = std::string("/proc/") + p->d_name + "/fd";
    DIR* fds = opendir(fdDir.c_str());
    if (!fds) continue;  // gone, or not ours to look at
    while (const dirent* f = readdir(fds)) {
      struct stat st{};
      if (f->d_name[0] == '.' || stat((fdDir + "/" + f->d_name).c_str(), &st) != 0) continue;
      if (S_ISCHR(st.st_mode) && st.st_rdev == pty.device) ++holders;
    }
    closedir(fds);
  }
  closedir(proc);
  return holders;
}

bool MakeLink(const std::string& link, const std::string& target, std::string& error) {
  struct stat st{};
  if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = link + " exists and is not a symlink; not replacing it";
    return false;
  }
  const std::string temp = link + ".new" + std::to_string(getpid());
  unlink(temp.c_str());
  if (symlink(target.c_str(), temp.c_str()) != 0) {
    error = "symlink " + temp + ": " + std::strerror(errno);
    return false;
  }
  if (rename(temp.c_str(), link.c_str()) != 0) {
    error = "rename to " + link + ": " + std::strerror(errno);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

void RemoveLink(const std::string& link, const std::string& target) {
  char buf[512];
  const ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
  if (n < 0) return;
  buf[n] = '\0';
  if (target == buf) unlink(link.c_str());
}

}  // namespace sim
