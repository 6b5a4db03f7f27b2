#include "platform/local_time.h"

#include <time.h>
#include <windows.h>

namespace pt {

// Windows' own clock and zone, as the taskbar shows them. The C runtime's localtime would follow
// a TZ variable instead, which on a Windows PC is more often a leftover than the farmer's zone.
LocalTime SystemLocalTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

ZonedTime SystemZonedTime() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_s(&local, &now);
  // The local fields read as if they were UTC, less the true instant: the offset in force then,
  // with daylight saving, which the time zone's bias alone would miss.
  tm copy = local;
  const long long offset = static_cast<long long>(_mkgmtime(&copy)) - static_cast<long long>(now);
  return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec},
          static_cast<int>(offset / 60)};
}

}  // namespace pt
