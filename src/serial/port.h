#pragma once
// The serial line to the logger: the selectable settings, the one held device, opening and
// closing it, and the status label.
#include <cstdint>

#include "platform/dialog.h"
#include "serial/serial_device.h"

namespace pt {

struct PortRow {
  const char* name;  // display name: "COM1" ... "COM20"; "" marks the end of the table
  const char* path;  // what is opened: "COM1" ... "COM9", "\\.\COM10" ... "\\.\COM20"
};
inline constexpr int kPortCount = 20;
extern const PortRow PortTable[kPortCount + 1];

struct SpeedRow { std::uint32_t rate; const char* name; };
struct ByteRow { std::uint8_t value; const char* name; };
extern const SpeedRow SpeedTable[7];
extern const ByteRow ParityTable[3];
extern const ByteRow DataBitsTable[2];
extern const ByteRow StopBitsTable[3];

struct PortSettings {
  std::int32_t port = 0;      // COM1
  std::int32_t speed = 5;     // 19200 until a job reads the radio buttons
  std::int32_t parity = 2;    // even
  std::int32_t dataBits = 1;  // 8
  std::int32_t stopBits = 0;  // one
};

// Process-wide state of the serial line; a fresh value is the state at program start.
struct PortState {
  PortSettings Settings;
  int PortOpenFlag = 1;   // did the last open succeed
  int ClosePortFlag = 0;  // the next tick closes the device
};
extern PortState Port;

// The device the program talks through (the PortHandle is this device while it IsOpen()).
// The front end installs its platform backend at start; tests install a scripted one.
void SetPortDevice(SerialDevice* device);
SerialDevice* PortDevice();
// The error code OpenPort shows when no device has been installed (platform codes are positive).
inline constexpr int kNoPortDeviceError = -1;

void FillPortList(Dialog& dlg);
void ReadPortChoice(Dialog& dlg);
void ReadSpeedChoice(Dialog& dlg);
// 0 when the port is open and configured, -1 after the failure was shown and "[Disable]" set.
int OpenPort(Dialog& dlg);
void ClosePort();

}  // namespace pt
