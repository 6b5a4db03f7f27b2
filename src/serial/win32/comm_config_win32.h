#pragma once
// How the Win32 backend readies a COM port, apart from the port handle so that a test can watch
// each call: the events, the driver's queues, then the device control block.
#include <windows.h>

#include "serial/serial_device.h"

namespace pt {

inline constexpr DWORD kCommEvents = EV_RXCHAR | EV_TXEMPTY;
inline constexpr DWORD kCommQueueBytes = 8192;
static_assert(sizeof(DCB) == 28, "the device control block is 28 bytes");

// Writes the line into `dcb` and turns the handshake off; every other field stays as the device
// reported it.
inline void ApplyLineSettings(const LineSettings& line, DCB& dcb) {
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = line.baudRate;
  dcb.ByteSize = line.dataBits;
  dcb.Parity = line.parity;
  dcb.StopBits = line.stopBits;
  dcb.fBinary = 1;
  dcb.fOutxCtsFlow = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
}

// `comm` carries out SetCommMask, SetupComm, GetCommState and SetCommState on one port. `kept`
// holds the control block of the previous configuration (all zero before the first): when the
// device cannot report its state, that block goes out with the new line. It is left holding what
// was written.
template <typename Comm>
ConfigureError ConfigureComm(Comm& comm, const LineSettings& line, DCB& kept) {
  if (!comm.SetMask(kCommEvents)) return ConfigureError::Events;
  if (!comm.SetQueues(kCommQueueBytes, kCommQueueBytes)) return ConfigureError::Queues;
  DCB dcb = kept;
  if (!comm.GetState(dcb)) dcb = kept;
  ApplyLineSettings(line, dcb);
  kept = dcb;
  return comm.SetState(dcb) ? ConfigureError::None : ConfigureError::Line;
}

}  // namespace pt
