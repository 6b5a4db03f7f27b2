#include "serial/posix/serial_device_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/serial.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstring>

#include "serial/platform_serial_device.h"

namespace pt {

namespace {

struct RateCode {
  std::uint32_t rate;
  speed_t code;
};
constexpr RateCode kRates[] = {
    {300, B300}, {1200, B1200}, {2400, B2400}, {4800, B4800},
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

bool RateToCode(std::uint32_t rate, speed_t& code) {
  for (const RateCode& r : kRates) {
    if (r.rate == rate) {
      code = r.code;
      return true;
    }
  }
  return false;
}

// The port number of "COMn" or "\\.\COMn", or 0 when the path is no such name.
int ComNumber(const char* path) {
  if (std::strncmp(path, "\\\\.\\", 4) == 0) path += 4;
  if (std::strncmp(path, "COM", 3) != 0) return 0;
  int n = 0;
  const char* p = path + 3;
  if (*p < '1' || *p > '9') return 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    n = n * 10 + (*p - '0');
    if (n > 255) return 0;
  }
  return *p == '\0' ? n : 0;
}

PosixSerialDevice gPlatformDevice;

// The driver's count of receive errors so far, or -1 where it keeps none (a pseudo-terminal,
// some adapters).
long long ReadLineErrorCount(int fd) {
#if defined(__linux__) && defined(TIOCGICOUNT)
  serial_icounter_struct c{};
  if (::ioctl(fd, TIOCGICOUNT, &c) != 0) return -1;
  return static_cast<long long>(c.frame) + c.parity + c.overrun + c.buf_overrun;
#else
  (void)fd;
  return -1;
#endif
}

}  // namespace

SerialDevice& PlatformSerialDevice() { return gPlatformDevice; }

std::string ResolvePosixPortPath(const char* path, const std::string& comDirectory) {
  const int n = ComNumber(path);
  if (n == 0) return path;
  if (!comDirectory.empty()) return comDirectory + "/COM" + std::to_string(n);
  return "/dev/ttyS" + std::to_string(n - 1);
}

PosixSerialDevice::~PosixSerialDevice() { Close(); }

int PosixSerialDevice::Open(const char* path) {
  Close();
  const std::string target = ResolvePosixPortPath(path, comDirectory_);
  const int fd = ::open(target.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno != 0 ? errno : EIO;
  int error = 0;
  if (!isatty(fd)) {
    error = ENOTTY;
  } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = (errno == EWOULDBLOCK) ? EBUSY : errno;
  } else if (::ioctl(fd, TIOCEXCL) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::close(fd);
    return error;
  }
  fd_ = fd;
  lineErrorCount_ = ReadLineErrorCount(fd_);
  return 0;
}

ConfigureError PosixSerialDevice::Configure(const LineSettings& line) {
  if (!IsOpen()) return ConfigureError::Events;
  return SetLine(line) ? ConfigureError::None : ConfigureError::Line;
}

bool ApplyLineSettings(const LineSettings& line, termios& t) {
  speed_t code = 0;
  if (!RateToCode(line.baudRate, code)) return false;
  if (line.dataBits != 7 && line.dataBits != 8) return false;
  if (line.parity > 2 || line.stopBits > 2) return false;
  termios out = t;
  // Raw bytes both ways: the logger's CR must arrive as CR, and nothing may be translated.
  cfmakeraw(&out);
  out.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  out.c_cflag |= (line.dataBits == 7 ? CS7 : CS8) | CLOCAL | CREAD;
  if (line.parity != 0) out.c_cflag |= PARENB;
  if (line.parity == 1) out.c_cflag |= PARODD;
  // A byte that fails its parity or framing check arrives as a NUL (no IGNPAR, no PARMRK), and
  // a NUL is never part of a good reply, so the exchange sees the damage.
  out.c_iflag &= ~(IGNPAR | PARMRK | INPCK);
  if (line.parity != 0) out.c_iflag |= INPCK;
  // termios has no one and a half stop bits; two is the nearer framing.
  if (line.stopBits != 0) out.c_cflag |= CSTOPB;
  out.c_cc[VMIN] = 0;
  out.c_cc[VTIME] = 0;
  if (cfsetispeed(&out, code) != 0 || cfsetospeed(&out, code) != 0) return false;
  t = out;
  return true;
}

bool PosixSerialDevice::SetLine(const LineSettings& line) {
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return false;
  if (!ApplyLineSettings(line, t)) return false;
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) {
    // A pseudo-terminal keeps 8 data bits and no parity whatever is asked, and glibc then reports
    // EINVAL for a parity request it could not see taken. The line is as good as a pty can make it
    // when everything else it holds reads back as asked.
    termios now{};
    if (errno != EINVAL || ::tcgetattr(fd_, &now) != 0) return false;
    const tcflag_t ptyForced = CSIZE | PARENB | PARODD;
    if ((now.c_cflag & ~ptyForced) != (t.c_cflag & ~ptyForced) || now.c_iflag != t.c_iflag ||
        now.c_oflag != t.c_oflag || now.c_lflag != t.c_lflag || cfgetispeed(&now) != cfgetispeed(&t) ||
        cfgetospeed(&now) != cfgetospeed(&t)) {
      return false;
    }
  }

  int raise = TIOCM_DTR | TIOCM_RTS;
  // A pseudo-terminal has no modem lines; that is no fault of the line settings.
  if (::ioctl(fd_, TIOCMBIS, &raise) != 0 && errno != ENOTTY && errno != EINVAL) {
    return false;
  }
  return true;
}

bool PosixSerialDevice::WaitingCount(std::uint32_t& count) {
  int waiting = 0;
  if (!IsOpen() || ::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0) return false;
  count = static_cast<std::uint32_t>(waiting);
  return true;
}

bool PosixSerialDevice::TakeLineError() {
  if (!IsOpen()) return false;
  const long long now = ReadLineErrorCount(fd_);
  const bool seen = now >= 0 && lineErrorCount_ >= 0 && now != lineErrorCount_;
  lineErrorCount_ = now;
  return seen;
}

bool PosixSerialDevice::Read(void* buf, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!IsOpen()) return false;
  if (size == 0) return true;
  for (;;) {
    const ssize_t n = ::read(fd_, buf, size);
    if (n >= 0) {
      got = static_cast<std::uint32_t>(n);
      return true;
    }
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK;
  }
}

bool PosixSerialDevice::Write(const void* data, std::uint32_t size) {
  if (!IsOpen()) return false;
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  using std::chrono::steady_clock;
  const steady_clock::time_point deadline = steady_clock::now() + milliseconds(writeTimeoutMs_);
  const char* p = static_cast<const char*>(data);
  std::uint32_t left = size;
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n > 0) {
      p += n;
      left -= static_cast<std::uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    const long long remaining = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
    if (remaining <= 0) return false;
    pollfd pfd{fd_, POLLOUT, 0};
    if (::poll(&pfd, 1, static_cast<int>(remaining)) < 0 && errno != EINTR) return false;
  }
  return true;
}

void PosixSerialDevice::Close() {
  if (fd_ < 0) return;
  // The exclusive flag can outlive this descriptor on a terminal that stays open elsewhere.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace pt
