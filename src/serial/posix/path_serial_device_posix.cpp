#include "serial/path_serial_device.h"

#include <poll.h>

#include <cerrno>

namespace pt {

// The POSIX backend reads a bare "COMn" itself.
std::string DevicePathFor(const std::string& port) { return port; }

int PathSerialDevice::Open(const char*) {
  lastOpenError_ = line_.Open(path_.c_str());
  return lastOpenError_;
}

bool PathSerialDevice::WaitReadable(int timeoutMs) {
  if (!line_.IsOpen()) return false;
  pollfd p{line_.fd(), POLLIN, 0};
  const int r = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
  if (r < 0) return errno == EINTR;
  if (r == 0) return true;
  return (p.revents & POLLIN) != 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
}

}  // namespace pt
