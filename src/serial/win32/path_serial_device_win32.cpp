#include "serial/path_serial_device.h"

#include <windows.h>

#include <cctype>

namespace pt {

namespace {

HANDLE AsHandle(void* h) { return static_cast<HANDLE>(h); }

// "COM" and 1 to 256 with no leading zero, any case.
bool IsBareComName(const std::string& port) {
  if (port.size() < 4 || port.size() > 6) return false;
  for (int i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(port[static_cast<std::size_t>(i)])) != "COM"[i]) return false;
  }
  if (port[3] == '0') return false;
  int n = 0;
  for (std::size_t i = 3; i < port.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(port[i]))) return false;
    n = n * 10 + (port[i] - '0');
  }
  return n >= 1 && n <= 256;
}

}  // namespace

std::string DevicePathFor(const std::string& port) {
  return IsBareComName(port) ? "\\\\.\\" + port : port;
}

int PathSerialDevice::Open(const char*) {
  haveKept_ = false;
  waitTimeoutsMs_ = 0;
  lastOpenError_ = line_.Open(DevicePathFor(path_).c_str());
  return lastOpenError_;
}

void PathSerialDevice::Close() {
  haveKept_ = false;
  line_.Close();
}

bool PathSerialDevice::WaitingCount(std::uint32_t& count) {
  if (!line_.WaitingCount(count)) return false;
  if (haveKept_) ++count;
  return true;
}

bool PathSerialDevice::Read(void* buf, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (size == 0) return line_.IsOpen();
  auto* out = static_cast<unsigned char*>(buf);
  std::uint32_t offset = 0;
  if (haveKept_) {
    out[0] = kept_;
    haveKept_ = false;
    offset = 1;
  }
  std::uint32_t more = 0;
  const bool ok = line_.Read(out + offset, size - offset, more);
  got = offset + more;
  return ok || offset != 0;
}

bool PathSerialDevice::WaitReadable(int timeoutMs) {
  if (!line_.IsOpen()) return false;
  if (haveKept_) return true;
  std::uint32_t waiting = 0;
  if (!line_.WaitingCount(waiting)) return false;
  if (waiting != 0) return true;
  if (timeoutMs <= 0) return true;
  // These time-outs make ReadFile return as soon as one byte has come, or empty-handed when the
  // constant has passed; the core's own reads ask only for queued bytes, which they still
  // return at once.
  const HANDLE h = AsHandle(line_.Handle());
  const unsigned ms = static_cast<unsigned>(timeoutMs);
  if (ms != waitTimeoutsMs_) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = ms;
    if (SetCommTimeouts(h, &t) == 0) return false;
    waitTimeoutsMs_ = ms;
  }
  DWORD n = 0;
  if (ReadFile(h, &kept_, 1, &n, nullptr) == 0) return false;
  haveKept_ = n == 1;
  return true;
}

}  // namespace pt
