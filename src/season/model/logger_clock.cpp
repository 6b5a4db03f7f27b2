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

namespace {

// A difference cut into what a person reads: a number of the larger unit, and of the smaller one
// when it is not nought. Past a day the seconds and minutes say nothing about a season's dates;
// past a year the clock was never set, and a round number of years is all that helps.
enum class Unit { Second, Minute, Hour, Day, Year };
struct ReadableDifference {
  bool slow = false;
  long long big = 0, small = 0;
  Unit bigUnit = Unit::Second, smallUnit = Unit::Second;
};

ReadableDifference Readable(long long offsetSeconds) {
  ReadableDifference d;
  d.slow = offsetSeconds < 0;
  const unsigned long long s = offsetSeconds < 0 ? 0ULL - static_cast<unsigned long long>(offsetSeconds)
                                                 : static_cast<unsigned long long>(offsetSeconds);
  const long long n = static_cast<long long>(s > 1ULL << 62 ? 1ULL << 62 : s);
  constexpr long long kDay = 86400, kYear = 31556952;  // the Gregorian calendar's mean year
  if (n < 60) {
    d.big = n, d.bigUnit = Unit::Second;
  } else if (n < 3600) {
    d.big = n / 60, d.bigUnit = Unit::Minute, d.small = n % 60, d.smallUnit = Unit::Second;
  } else if (n < kDay) {
    d.big = n / 3600, d.bigUnit = Unit::Hour, d.small = n / 60 % 60, d.smallUnit = Unit::Minute;
  } else if (n < 365 * kDay) {
    d.big = n / kDay, d.bigUnit = Unit::Day, d.small = n / 3600 % 24, d.smallUnit = Unit::Hour;
  } else {
    d.big = (n + kYear / 2) / kYear, d.bigUnit = Unit::Year;
  }
  return d;
}

const char* EnglishUnit(Unit unit, long long count) {
  switch (unit) {
    case Unit::Second: return "s";
    case Unit::Minute: return "min";
    case Unit::Hour: return "h";
    case Unit::Day: return count == 1 ? "day" : "days";
    case Unit::Year: return count == 1 ? "year" : "years";
  }
  return "";
}

const char* JapaneseUnit(Unit unit) {
  switch (unit) {
    case Unit::Second: return reinterpret_cast<const char*>(u8"秒");
    case Unit::Minute: return reinterpret_cast<const char*>(u8"分");
    case Unit::Hour: return reinterpret_cast<const char*>(u8"時間");
    case Unit::Day: return reinterpret_cast<const char*>(u8"日");
    case Unit::Year: return reinterpret_cast<const char*>(u8"年");
  }
  return "";
}

}  // namespace

std::string ClockDifferenceText(long long offsetSeconds) {
  if (offsetSeconds == 0) return "no difference";
  const ReadableDifference d = Readable(offsetSeconds);
  const char* const way = d.slow ? "slow" : "fast";
  char text[96];
  if (d.bigUnit == Unit::Year) {
    std::snprintf(text, sizeof text, "about %lld %s %s", d.big, EnglishUnit(d.bigUnit, d.big), way);
  } else if (d.small == 0) {
    std::snprintf(text, sizeof text, "%lld %s %s", d.big, EnglishUnit(d.bigUnit, d.big), way);
  } else {
    std::snprintf(text, sizeof text, "%lld %s %lld %s %s", d.big, EnglishUnit(d.bigUnit, d.big), d.small,
                  EnglishUnit(d.smallUnit, d.small), way);
  }
  return text;
}

std::string ClockDifferenceTextJa(long long offsetSeconds) {
  if (offsetSeconds == 0) return reinterpret_cast<const char*>(u8"ずれなし");
  const ReadableDifference d = Readable(offsetSeconds);
  const char* const way = d.slow ? reinterpret_cast<const char*>(u8"遅れ") : reinterpret_cast<const char*>(u8"進み");
  char text[96];
  if (d.bigUnit == Unit::Year) {
    std::snprintf(text, sizeof text, "%s %lld %s%s", reinterpret_cast<const char*>(u8"約"), d.big,
                  JapaneseUnit(d.bigUnit), way);
  } else if (d.small == 0) {
    std::snprintf(text, sizeof text, "%lld %s%s", d.big, JapaneseUnit(d.bigUnit), way);
  } else {
    std::snprintf(text, sizeof text, "%lld %s %lld %s%s", d.big, JapaneseUnit(d.bigUnit), d.small,
                  JapaneseUnit(d.smallUnit), way);
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
