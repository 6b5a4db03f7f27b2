#pragma once
// The PC's local time, behind one replaceable function so that tests can fix it.

namespace pt {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

using LocalTimeSource = LocalTime (*)();

LocalTime GetLocalTimeNow();
// nullptr restores the system clock.
void SetLocalTimeSource(LocalTimeSource source);
LocalTimeSource CurrentLocalTimeSource();

// The system clock in the time zone the system itself is set to, one implementation per platform
// (local_time_posix.cpp, win32/local_time_win32.cpp).
LocalTime SystemLocalTime();

// The system clock's local time to the second with its offset from UTC (east positive, daylight
// saving included), both of one instant: as an archive records its readout.
struct ZonedTime {
  LocalTime local;
  int utcOffsetMinutes = 0;
};
ZonedTime SystemZonedTime();

// The zoned time behind one replaceable function too, for a front end that dates what it writes
// and compares clocks by one time source.
using ZonedTimeSource = ZonedTime (*)();
ZonedTime GetZonedTimeNow();
// nullptr restores the system clock.
void SetZonedTimeSource(ZonedTimeSource source);

}  // namespace pt
