#pragma once
// The real Gregorian calendar, for the CSV's time column and for checking a typed start. (The
// report keeps its own month table without leap years; this is not a replacement for it.)
namespace cli {

struct CivilHour {
  int year = 0, month = 0, day = 0, hour = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1 to 12
// A date that exists on the calendar and an hour from 0 to 23.
bool IsRealHour(const CivilHour& h);
// `start` moved on by `hours` hours (hours >= 0); `start` must be a real hour.
CivilHour AddHours(const CivilHour& start, long long hours);

}  // namespace cli
