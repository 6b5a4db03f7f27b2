#include <time.h>

#include "local_clock.h"

namespace cli {

LocalClock LocalClockNow() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
          static_cast<int>(local.tm_gmtoff / 60)};
}

}  // namespace cli
