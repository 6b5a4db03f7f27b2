#include "platform/local_time.h"

#include <ctime>

namespace pt {
namespace {

LocalTime SystemLocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

LocalTimeSource gSource = SystemLocalTime;

}  // namespace

LocalTime GetLocalTimeNow() { return gSource(); }

void SetLocalTimeSource(LocalTimeSource source) { gSource = source ? source : SystemLocalTime; }
LocalTimeSource CurrentLocalTimeSource() { return gSource; }

}  // namespace pt
