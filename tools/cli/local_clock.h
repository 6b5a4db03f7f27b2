#pragma once
// The PC's local time to the second with its offset from UTC, as the archive records the readout.
namespace cli {

struct LocalClock {
  int year, month, day, hour, minute, second;
  int utcOffsetMinutes;  // east of Greenwich positive, daylight saving included
};

LocalClock LocalClockNow();

}  // namespace cli
