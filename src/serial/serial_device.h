#pragma once
// A serial device as the logic needs it: open exclusively, set the line, count and read the bytes
// that wait, write, close. One backend per platform (serial_device_win32.cpp,
// serial_device_posix.cpp); tests use a scripted one.
#include <cstdint>

namespace pt {

// The line parameters the program writes; everything else the device reported is kept by the
// backend and written back unchanged.
struct LineControl {
  std::uint32_t length = 0;  // the record length, 28 on Win32
  std::uint32_t baudRate = 0;
  std::uint8_t byteSize = 0;   // 7 or 8
  std::uint8_t parity = 0;     // 0 none, 1 odd, 2 even
  std::uint8_t stopBits = 0;   // 0 one, 1 one and a half, 2 two
  bool binary = false;
  bool outxCtsFlow = false;
  bool outxDsrFlow = false;
  std::uint8_t dtrControl = 0;  // 1: raised while open
  std::uint8_t rtsControl = 0;  // 1: raised while open
};

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // 0 on success, else the platform's error code (GetLastError, errno).
  virtual int Open(const char* path) = 0;
  virtual bool IsOpen() const = 0;
  virtual bool SetEventMask(std::uint32_t mask) = 0;
  virtual bool SetQueueSizes(std::uint32_t inBytes, std::uint32_t outBytes) = 0;
  virtual bool GetLineControl(LineControl& line) = 0;
  virtual bool SetLineControl(const LineControl& line) = 0;
  // How many received bytes wait; clears the line's error state. false when the query fails.
  virtual bool WaitingCount(std::uint32_t& count) = 0;
  // True when the line reported a parity, framing or overrun error since the last call, which
  // forgets it: bytes received then may be wrong even if they look right. A device that cannot
  // tell says false.
  virtual bool TakeLineError() = 0;
  // Reads up to `size` bytes that are already waiting; never blocks.
  virtual bool Read(void* buf, std::uint32_t size, std::uint32_t& got) = 0;
  virtual bool Write(const void* data, std::uint32_t size) = 0;
  virtual void Close() = 0;
};

}  // namespace pt
