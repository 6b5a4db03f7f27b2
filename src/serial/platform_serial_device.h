#pragma once
// The serial device of the platform the program was built for: the Win32 backend in the Windows
// build, the POSIX backend otherwise. One instance for the whole program; the front end installs
// it with SetPortDevice at start.
#include "serial/serial_device.h"

namespace pt {

SerialDevice& PlatformSerialDevice();

}  // namespace pt
