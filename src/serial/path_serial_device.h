#pragma once
// The serial device of the console front end: whatever port name the core asks for, it opens the
// path given on the command line, and it can wait for the line to have something to read.
#include <string>

#ifdef _WIN32
#include "serial/win32/serial_device_win32.h"
#else
#include "serial/posix/serial_device_posix.h"
#endif

namespace pt {

class PathSerialDevice : public pt::SerialDevice {
 public:
  explicit PathSerialDevice(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // The error code of the last Open (0 after a success).
  int LastOpenError() const { return lastOpenError_; }

  // Waits until bytes can be read or `timeoutMs` has passed. False when the line is gone
  // (hung up, closed or in error): the caller must not count on a wait from it then.
  bool WaitReadable(int timeoutMs);

  int Open(const char*) override;
  bool IsOpen() const override { return line_.IsOpen(); }
  pt::ConfigureError Configure(const pt::LineSettings& line) override { return line_.Configure(line); }
  bool TakeLineError() override { return line_.TakeLineError(); }
  bool Write(const void* data, std::uint32_t size) override { return line_.Write(data, size); }
#ifdef _WIN32
  // A wait on a COM port takes the byte that ends it; that byte is kept here and comes first.
  bool WaitingCount(std::uint32_t& count) override;
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override;
  void Close() override;
#else
  bool WaitingCount(std::uint32_t& count) override { return line_.WaitingCount(count); }
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override { return line_.Read(buf, size, got); }
  void Close() override { line_.Close(); }
#endif

 private:
  std::string path_;
  int lastOpenError_ = 0;
#ifdef _WIN32
  pt::Win32SerialDevice line_;
  bool haveKept_ = false;
  unsigned char kept_ = 0;
  unsigned waitTimeoutsMs_ = 0;  // the read time-outs last set for a wait, 0 before the first
#else
  pt::PosixSerialDevice line_;
#endif
};

// The name to open for --port: on Windows "COM12" becomes "\\.\COM12" (the only form that reaches
// COM10 and above); anything else, a full "\\.\..." path included, is opened as given.
std::string DevicePathFor(const std::string& port);

}  // namespace pt
