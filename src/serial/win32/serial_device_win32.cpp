#include "serial/win32/serial_device_win32.h"

#include <windows.h>

#include <cstring>

#include "serial/win32/comm_config_win32.h"
#include "serial/platform_serial_device.h"
#include "serial/write_whole.h"

namespace pt {

namespace {

Win32SerialDevice gPlatformDevice;

HANDLE AsHandle(void* h) { return static_cast<HANDLE>(h); }

// ConfigureComm's calls on a real port.
struct PortComm {
  HANDLE h;
  bool SetMask(DWORD mask) { return SetCommMask(h, mask) != 0; }
  bool SetQueues(DWORD in, DWORD out) { return SetupComm(h, in, out) != 0; }
  bool GetState(DCB& dcb) { return GetCommState(h, &dcb) != 0; }
  bool SetState(DCB& dcb) { return SetCommState(h, &dcb) != 0; }
};

}  // namespace

SerialDevice& PlatformSerialDevice() { return gPlatformDevice; }

Win32SerialDevice::Win32SerialDevice() : handle_(INVALID_HANDLE_VALUE), dcb_{} {}

Win32SerialDevice::~Win32SerialDevice() { Close(); }

int Win32SerialDevice::Open(const char* path) {
  Close();
  HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error != 0 ? static_cast<int>(error) : static_cast<int>(ERROR_GEN_FAILURE);
  }
  handle_ = h;
  return 0;
}

bool Win32SerialDevice::IsOpen() const { return AsHandle(handle_) != INVALID_HANDLE_VALUE; }

ConfigureError Win32SerialDevice::Configure(const LineSettings& line) {
  if (!IsOpen()) return ConfigureError::Events;
  PortComm comm{AsHandle(handle_)};
  DCB dcb;
  std::memcpy(&dcb, dcb_, sizeof dcb);
  const ConfigureError error = ConfigureComm(comm, line, dcb);
  std::memcpy(dcb_, &dcb, sizeof dcb);
  return error;
}

bool Win32SerialDevice::WaitingCount(std::uint32_t& count) {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!IsOpen() || ClearCommError(AsHandle(handle_), &errors, &stat) == 0) return false;
  // Clearing the error state also forgets it, so it is kept here until the exchange asks.
  if ((errors & (CE_FRAME | CE_RXPARITY | CE_OVERRUN | CE_RXOVER)) != 0) lineError_ = true;
  count = stat.cbInQue;
  return true;
}

bool Win32SerialDevice::TakeLineError() {
  const bool seen = lineError_;
  lineError_ = false;
  return seen;
}

bool Win32SerialDevice::Read(void* buf, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!IsOpen()) return false;
  // The read time-outs stay the driver's, which may wait for bytes; asking only for what is
  // already queued keeps a read from ever blocking the one thread.
  std::uint32_t waiting = 0;
  if (!WaitingCount(waiting)) return false;
  if (size > waiting) size = waiting;
  if (size == 0) return true;
  DWORD n = 0;
  if (ReadFile(AsHandle(handle_), buf, size, &n, nullptr) == 0) return false;
  got = n;
  return true;
}

bool Win32SerialDevice::Write(const void* data, std::uint32_t size) {
  if (!IsOpen()) return false;
  return WriteWhole(data, size, [this](const char* p, std::uint32_t n, std::uint32_t& written) {
    DWORD took = 0;
    const bool ok = WriteFile(AsHandle(handle_), p, n, &took, nullptr) != 0;
    written = took;
    return ok;
  });
}

void Win32SerialDevice::Close() {
  if (!IsOpen()) return;
  CloseHandle(AsHandle(handle_));
  handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace pt
