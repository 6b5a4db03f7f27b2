// The PC clock that fills the clock field is the time Windows shows, whatever TZ says: a TZ left
// in the environment by some other program must not shift the logger's clock by hours.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "app/program_state.h"
#include "control_ids.h"
#include "logger/jobs.h"
#include "support/fake_dialog.h"

namespace pt {
namespace {

std::string ClockDigits(const SYSTEMTIME& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  return text;
}

long long Minutes(const SYSTEMTIME& t) {
  FILETIME f;
  SystemTimeToFileTime(&t, &f);
  return ((static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 600000000LL;
}

// Windows' local time less UTC, in minutes.
long long WindowsOffsetMinutes() {
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  GetLocalTime(&local);
  return Minutes(local) - Minutes(utc);
}

// The C runtime's local time less UTC, in minutes, as TZ makes it.
long long RuntimeOffsetMinutes() {
  const std::time_t now = std::time(nullptr);
  std::tm local{}, utc{};
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
  utc.tm_isdst = local.tm_isdst;
  return static_cast<long long>(std::difftime(std::mktime(&local), std::mktime(&utc))) / 60;
}

TEST(Win32LocalTime, ClockFieldIsWindowsTimeWhateverTzSays) {
  ScopedLocalTimeSource systemClock{nullptr};
  // Twelve hours or more from Windows' own zone, on whichever side leaves room.
  _putenv(WindowsOffsetMinutes() >= 0 ? "TZ=PTX+12" : "TZ=PTX-12");
  _tzset();
  const long long apart = RuntimeOffsetMinutes() - WindowsOffsetMinutes();
  ASSERT_GE(apart < 0 ? -apart : apart, 12 * 60) << "the C runtime does not follow TZ here";

  test::FakeDialog dlg;
  std::string filled, before, after;
  // A second may turn between the reads; the field must match one side of it.
  for (int tries = 0; tries < 3; ++tries) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    before = ClockDigits(t);
    FillClockFromPc(dlg);
    GetLocalTime(&t);
    after = ClockDigits(t);
    filled = dlg.Text(IDC_CLOCK_EDIT);
    if (before == after) break;
  }
  _putenv("TZ=");
  _tzset();
  EXPECT_TRUE(filled == before || filled == after) << filled << " against " << before << ".." << after;
}

}  // namespace
}  // namespace pt
#endif
