#pragma once
// The SerialDevice on a POSIX terminal device (termios).
//
// Exclusivity: TIOCEXCL keeps other unprivileged programs out, but root passes it, so the
// descriptor also carries an advisory flock(LOCK_EX | LOCK_NB); a second open through this
// backend, by this program or another, then fails with EBUSY whoever runs it.
#include <termios.h>

#include <string>
#include <utility>

#include "serial/serial_device.h"

namespace pt {

// What a port path names here. "COMn" and "\\.\COMn" become `comDirectory`/COMn when a directory
// is given (a folder of links to the real terminals), else /dev/ttyS<n-1> as Linux numbers the
// serial ports; any other path is taken as it stands.
std::string ResolvePosixPortPath(const char* path, const std::string& comDirectory);

// Turns `t` into raw transfer without handshake, with the line's rate, data bits, parity and stop
// bits. false, with `t` unchanged, for a line termios cannot express (an unknown rate, 5 or 6
// data bits).
bool ApplyLineSettings(const LineSettings& line, termios& t);

class PosixSerialDevice : public SerialDevice {
 public:
  explicit PosixSerialDevice(std::string comDirectory = std::string()) : comDirectory_(std::move(comDirectory)) {}
  ~PosixSerialDevice() override;
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  int Open(const char* path) override;
  bool IsOpen() const override { return fd_ >= 0; }
  // A terminal has no events or driver queues to set: those steps fail only on a closed device.
  ConfigureError Configure(const LineSettings& line) override;
  bool WaitingCount(std::uint32_t& count) override;
  bool TakeLineError() override;
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override;
  bool Write(const void* data, std::uint32_t size) override;
  void Close() override;

  void SetComDirectory(std::string dir) { comDirectory_ = std::move(dir); }
  // How long one Write may wait in all for the line to take its bytes before it fails.
  void SetWriteTimeoutMs(int ms) { writeTimeoutMs_ = ms; }
  int fd() const { return fd_; }

 private:
  bool SetLine(const LineSettings& line);

  std::string comDirectory_;
  int fd_ = -1;
  // The driver's error counters when last asked (TIOCGICOUNT); -1 where the driver keeps none.
  long long lineErrorCount_ = -1;
  int writeTimeoutMs_ = 2000;
};

}  // namespace pt
