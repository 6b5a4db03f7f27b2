#pragma once
// The SerialDevice on a Win32 COM port (KERNEL32 communications functions). The device control
// block lives in the object across opens: each configuration refills it from the device, and
// only the line and the handshake are changed before it is written back.
#include "serial/serial_device.h"

namespace pt {

class Win32SerialDevice : public SerialDevice {
 public:
  Win32SerialDevice();
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  int Open(const char* path) override;
  bool IsOpen() const override;
  ConfigureError Configure(const LineSettings& line) override;
  bool WaitingCount(std::uint32_t& count) override;
  bool TakeLineError() override;
  bool Read(void* buf, std::uint32_t size, std::uint32_t& got) override;
  bool Write(const void* data, std::uint32_t size) override;
  void Close() override;

  // The port's HANDLE, for a test that reads its state back.
  void* Handle() const { return handle_; }

 private:
  void* handle_;                       // a HANDLE; INVALID_HANDLE_VALUE when closed
  alignas(8) unsigned char dcb_[28];  // a DCB, all zero before the first open
  bool lineError_ = false;             // an error flag seen by any ClearCommError since asked
};

}  // namespace pt
