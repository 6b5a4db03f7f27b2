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

std::string ClockText(const LocalTime& t) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string ClockComparison(const ClockReading& reading) {
  if (!reading.logger) return "logger unread, PC " + ClockText(reading.pc);
  const long long offset = ClockOffsetSeconds(*reading.logger, reading.pc);
  return "logger " + ClockText(*reading.logger) + ", PC " + ClockText(reading.pc) + " (logger " +
         std::to_string(offset < 0 ? -offset : offset) + " s " + (offset < 0 ? "slow" : "fast") + ")";
}

}  // namespace pt::season
