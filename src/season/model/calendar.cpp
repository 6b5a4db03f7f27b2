#include "season/model/calendar.h"

namespace pt::season {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsRealDate(const CivilDate& d) { return d.day >= 1 && d.day <= DaysInMonth(d.year, d.month); }

bool IsRealHour(const CivilHour& h) { return IsRealDate(h.Date()) && h.hour >= 0 && h.hour <= 23; }

bool IsSeasonHour(const CivilHour& h) {
  return h.year >= kFirstSeasonYear && h.year <= kLastSeasonYear && IsRealHour(h);
}

// H. Hinnant's days_from_civil and civil_from_days, valid for every year an int holds.
std::int64_t DayNumber(const CivilDate& d) {
  const std::int64_t y = static_cast<std::int64_t>(d.year) - (d.month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (d.month + (d.month > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate DateOfDayNumber(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  CivilDate out;
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
  return out;
}

CivilHour AddHours(const CivilHour& start, std::int64_t hours) {
  const std::int64_t total = start.hour + hours;
  const CivilDate d = DateOfDayNumber(DayNumber(start.Date()) + total / 24);
  return {d.year, d.month, d.day, static_cast<int>(total % 24)};
}

int Weekday(const CivilDate& d) {
  // 1970-01-01 was a Thursday.
  const std::int64_t n = DayNumber(d) + 3;
  return static_cast<int>(((n % 7) + 7) % 7);
}

}  // namespace pt::season
