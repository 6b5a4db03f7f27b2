#include "season/model/logger_clock.h"

#include <cstdio>

#include "season/model/calendar.h"

namespace pt::season {

bool SameLocalTime(const LocalTime& a, const LocalTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

bool operator==(const ClockReading& a, const ClockReading& b) {
  if (a.logger.has_value() != b.logger.has_value()) return false;
  if (a.logger && !SameLocalTime(*a.logger, *b.logger)) return false;
  return SameLocalTime(a.pc, b.pc);
}

std::optional<LocalTime> ParseLoggerClock(std::string_view text) {
  if (text.size() != 14) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const auto n = [text](std::size_t at, std::size_t width) {
    int v = 0;
    for (std::size_t i = at; i < at + width; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  const LocalTime t{n(0, 4), n(4, 2), n(6, 2), n(8, 2), n(10, 2), n(12, 2)};
  if (!IsRealDate({t.year, t.month, t.day}) || t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
  return t;
}

namespace {

long long SecondsOf(const LocalTime& t) {
  return DayNumber({t.year, t.month, t.day}) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

}  // namespace

long long ClockOffsetSeconds(const LocalTime& logger, const LocalTime& pc) { return SecondsOf(logger) - SecondsOf(pc); }

std::string ClockDifferenceText(long long offsetSeconds) {
  if (offsetSeconds == 0) return "no difference";
  // Past a day the seconds and minutes say nothing about a season's dates; past a year the
  // clock was never set, and a round figure is all that helps.
  const unsigned long long s = offsetSeconds < 0 ? 0ULL - static_cast<unsigned long long>(offsetSeconds)
                                                 : static_cast<unsigned long long>(offsetSeconds);
  const long long n = static_cast<long long>(s > 1ULL << 62 ? 1ULL << 62 : s);
  constexpr long long kDay = 86400, kYear = 31556952;  // the Gregorian calendar's mean year
  const char* const way = offsetSeconds < 0 ? "slow" : "fast";
  // The larger unit, and the smaller one only when it is not nought.
  long long big = 0, small = 0;
  const char *bigUnit = "", *smallUnit = "";
  if (n < 60) {
    big = n, bigUnit = "s";
  } else if (n < 3600) {
    big = n / 60, bigUnit = "min", small = n % 60, smallUnit = "s";
  } else if (n < kDay) {
    big = n / 3600, bigUnit = "h", small = n / 60 % 60, smallUnit = "min";
  } else if (n < 365 * kDay) {
    big = n / kDay, bigUnit = big == 1 ? "day" : "days", small = n / 3600 % 24, smallUnit = "h";
  } else {
    const long long years = (n + kYear / 2) / kYear;
    char text[64];
    std::snprintf(text, sizeof text, "about %lld %s %s", years, years == 1 ? "year" : "years", way);
    return text;
  }
  char text[96];
  if (small == 0) {
    std::snprintf(text, sizeof text, "%lld %s %s", big, bigUnit, way);
  } else {
    std::snprintf(text, sizeof text, "%lld %s %lld %s %s", big, bigUnit, small, smallUnit, way);
  }
  return text;
}

std::string ClockText(const LocalTime& t) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string ClockComparison(const ClockReading& reading) {
  if (!reading.logger) return "logger unread, PC " + ClockText(reading.pc);
  const long long offset = ClockOffsetSeconds(*reading.logger, reading.pc);
  return "logger " + ClockText(*reading.logger) + ", PC " + ClockText(reading.pc) + " (" +
         (offset == 0 ? "" : "logger ") + ClockDifferenceText(offset) + ")";
}

}  // namespace pt::season
