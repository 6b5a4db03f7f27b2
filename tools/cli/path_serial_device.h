#pragma once
// The serial device of the console front end: whatever port name the core asks for, it opens the
// path given on the command line, and it can wait for the line to have something to read.
#include <string>

#include "serial/serial_device_posix.h"

namespace cli {

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
  bool WaitingCount(std::uint32_t& count) override { return line_.WaitingCount(count); }
  bool TakeLineError() override { return line_.TakeLineError(); }
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override { return line_.Read(buf, size, got); }
  bool Write(const void* data, std::uint32_t size) override { return line_.Write(data, size); }
  void Close() override { line_.Close(); }

 private:
  std::string path_;
  pt::PosixSerialDevice line_;
  int lastOpenError_ = 0;
};

}  // namespace cli
