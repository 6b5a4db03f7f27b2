#include "platform/local_time.h"

#include <windows.h>

namespace pt {

// Windows' own clock and zone, as the taskbar shows them. The C runtime's localtime would follow
// a TZ variable instead, which on a Windows PC is more often a leftover than the farmer's zone.
LocalTime SystemLocalTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace pt
