#pragma once
// A serial device as the logic needs it: open exclusively, configure the line, count and read the
// bytes that wait, write, close. One backend per platform (serial_device_win32.cpp,
// serial_device_posix.cpp); tests use a scripted one.
#include <cstdint>

namespace pt {

// The line as the logger and the user know it; the values are those of the port tables.
struct LineSettings {
  std::uint32_t baudRate = 0;
  std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even
  std::uint8_t dataBits = 0;  // 7 or 8
  std::uint8_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
};

// The step of configuring a device that failed. A backend without one of them counts it as done
// whenever the device is open.
enum class ConfigureError {
  None,
  Events,  // the events the device is to report
  Queues,  // the driver's receive and send queues
  Line,    // the line settings themselves
};

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // 0 on success, else the platform's error code (GetLastError, errno).
  virtual int Open(const char* path) = 0;
  virtual bool IsOpen() const = 0;
  // Readies the open device for the exchange: its events and queues, then the line with raw
  // bytes, no handshake, and DTR and RTS raised. Stops at the first step that fails.
  virtual ConfigureError Configure(const LineSettings& line) = 0;
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
