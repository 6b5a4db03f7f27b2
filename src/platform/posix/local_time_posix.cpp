#include "platform/local_time.h"

#include <time.h>

namespace pt {

LocalTime SystemLocalTime() {
  const time_t now = time(nullptr);
  tm t{};
  localtime_r(&now, &t);
  return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

ZonedTime SystemZonedTime() {
  const time_t now = time(nullptr);
  tm t{};
  localtime_r(&now, &t);
  return {{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec},
          static_cast<int>(t.tm_gmtoff / 60)};
}

}  // namespace pt
