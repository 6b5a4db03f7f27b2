#pragma once
// The logger's clock as read at the end of a readout, set against the PC's. Every hour of a season
// is dated by that clock, so a clock that drifted (or was set from a wrong PC clock in spring)
// shifts the whole season; the difference is kept with the season and shown.
#include <optional>
#include <string>
#include <string_view>

#include "platform/local_time.h"

namespace pt::season {

// One read of the logger's clock.
struct ClockReading {
  std::optional<LocalTime> logger;  // none: the logger gave no clock (no reply, or not a time)
  LocalTime pc;                     // the PC's local time when the reply came (or the read gave up)
  friend bool operator==(const ClockReading& a, const ClockReading& b);
};

bool SameLocalTime(const LocalTime& a, const LocalTime& b);

// Beyond this, a season's hours can no longer be taken at face value.
inline constexpr long long kClockWarningSeconds = 10 * 60;

// The reply to "Cget" without its line breaks: YYYYMMDDhhmmss, a real date and time.
std::optional<LocalTime> ParseLoggerClock(std::string_view text);

// Logger minus PC, in seconds; positive when the logger is fast.
long long ClockOffsetSeconds(const LocalTime& logger, const LocalTime& pc);

// Logger minus PC as a person reads it: "no difference", "40 s fast", "3 min 5 s slow",
// "4 h 16 min slow", "2 days 3 h fast", "about 17 years fast".
std::string ClockDifferenceText(long long offsetSeconds);
// The same for a page, in UTF-8: 「ずれなし」, 「40 秒進み」, 「4 時間 16 分遅れ」, 「約 17 年進み」.
std::string ClockDifferenceTextJa(long long offsetSeconds);

// "YYYY-MM-DD hh:mm:ss".
std::string ClockText(const LocalTime& t);
// "logger YYYY-MM-DD hh:mm:ss, PC YYYY-MM-DD hh:mm:ss (logger 4 h 16 min slow)"; for a read
// that failed, "logger unread, PC YYYY-MM-DD hh:mm:ss".
std::string ClockComparison(const ClockReading& reading);

}  // namespace pt::season
