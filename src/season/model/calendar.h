#pragma once
// The real Gregorian calendar for season figures: hours counted from a start, days with their leap
// days. (The report keeps its own 28-day February for its row labels; the season does not.)
#include <cstdint>

namespace pt::season {

struct CivilDate {
  int year = 0, month = 0, day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct CivilHour {
  int year = 0, month = 0, day = 0, hour = 0;
  CivilDate Date() const { return {year, month, day}; }
  friend bool operator==(const CivilHour&, const CivilHour&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1 to 12
bool IsRealDate(const CivilDate& d);
bool IsRealHour(const CivilHour& h);  // a real date and an hour from 0 to 23

// The years a season can start in: this century's, the years of the clocks the program is made
// for. The report takes any year from 2000 on, but a season from late in 9999 would run into
// dates of five digits; a start outside these years is refused wherever a season's start is read.
inline constexpr int kFirstSeasonYear = 2000;
inline constexpr int kLastSeasonYear = 2099;
bool IsSeasonHour(const CivilHour& h);  // a real hour in a year from 2000 to 2099

// Days since 1970-01-01 (negative before it), and back.
std::int64_t DayNumber(const CivilDate& d);
CivilDate DateOfDayNumber(std::int64_t days);

// `start` moved on by `hours` (>= 0); `start` must be a real hour.
CivilHour AddHours(const CivilHour& start, std::int64_t hours);
// 0 for Monday to 6 for Sunday.
int Weekday(const CivilDate& d);

}  // namespace pt::season
