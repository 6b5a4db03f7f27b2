#include "report/samples.h"

#include <climits>
#include <cstring>

namespace pt {

ReportState Report;

namespace {

// February never has 29 days: the logger's season never crosses a leap day that matters.
constexpr std::int32_t kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal number the way "%d" does, from [p, end): blanks, an optional sign, digits.
// Returns false when no digit follows. Saturates instead of overflowing.
bool ReadDecimal(const char* p, const char* end, std::int32_t* out) {
  while (p < end && IsBlank(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  if (p >= end || !IsDigit(*p)) return false;
  long long value = 0;
  for (; p < end && IsDigit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  *out = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

DecodedStamp DecodeStartStamp(const char* startStamp, const ReportDate& before) {
  DecodedStamp out{-1, before};
  const std::size_t length = std::strlen(startStamp);
  if (length < 16) return out;
  const char* colon = std::strchr(startStamp, ':');
  if (colon == nullptr) return out;

  const char* const end = startStamp + length;
  const char* field = colon + 1;
  std::int32_t* const targets[4] = {&out.date.year, &out.date.month, &out.date.day, &out.date.hour};
  constexpr int kWidths[4] = {4, 2, 2, 2};
  bool everyFieldRead = true;
  for (int i = 0; i < 4; ++i) {
    // A field never reaches past its own width, nor past the end of the text.
    const char* fieldEnd = field;
    for (int n = 0; n < kWidths[i] && fieldEnd < end; ++n) ++fieldEnd;
    if (!ReadDecimal(field, fieldEnd, targets[i])) everyFieldRead = false;
    field = fieldEnd;
  }

  // A field without a number keeps the previous report's value, which says nothing about this
  // start, so such a stamp is refused rather than dated from stale figures.
  const ReportDate& d = out.date;
  const bool valid = everyFieldRead && d.year >= 2000 && IsMonthInRange(d.month) && d.day >= 1 &&
                     d.day <= 31 && d.hour >= 0 && d.hour <= 23;
  out.result = valid ? 0 : -1;
  return out;
}

bool IsRealTimeText(const char* text, int digits) {
  if (digits != 12 && digits != 14) return false;
  int field[7] = {};
  constexpr int kWidths[7] = {4, 2, 2, 2, 2, 2};
  const char* p = text;
  for (int i = 0, read = 0; read < digits; ++i) {
    for (int n = 0; n < kWidths[i]; ++n, ++p, ++read) {
      if (!IsDigit(*p)) return false;  // a NUL ends the text here too
      field[i] = field[i] * 10 + (*p - '0');
    }
  }
  const int year = field[0], month = field[1], day = field[2];
  if (year < 2000 || year > 2099 || !IsMonthInRange(month) || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int monthDays = month == 2 && leap ? 29 : kDaysInMonth[month - 1];
  return day <= monthDays && field[3] <= 23 && field[4] <= 59 && field[5] <= 59;
}

void ParseSampleCount(const char* pointerText) {
  ReadDecimal(pointerText, pointerText + std::strlen(pointerText), &Report.SampleCount);
}

DecodedSample DecodeSampleWord(const std::uint32_t* sampleTable, int index) {
  const std::uint16_t w = static_cast<std::uint16_t>(sampleTable[index] & 0xFFFFu);
  const int sixteenths = w & 0xF;
  const int whole = (w >> 4) & 0xFF;
  DecodedSample s;
  s.temperature = whole + sixteenths / 16.0;
  // Bit 14 marks a dry reading, but bit 15 hides the mark.
  s.starred = (w & 0xC000u) == 0x4000u;
  return s;
}

const char* HeatColour(double temperature) {
  std::size_t band = 0;
  while (band < std::size(kHeatBandEdges) && !(temperature < kHeatBandEdges[band])) ++band;
  return kHeatBandColours[band];
}

DayStats ComputeDayStats(const double* values, int count) {
  DayStats s{-1.0, -1.0, -1.0};
  if (count <= 0) return s;
  double sum = 0.0;
  double maximum = -1.0;
  double minimum = 99999999.9;
  for (int i = 0; i < count; ++i) {
    sum += values[i];
    if (maximum < values[i]) maximum = values[i];
    if (minimum > values[i]) minimum = values[i];
  }
  s.mean = sum / count;
  s.maximum = maximum;
  s.minimum = minimum;
  return s;
}

void AdvanceReportDate() {
  ReportDate& d = Report.Date;
  // Callers check the month first; an out-of-range month would index past the table.
  if (!IsMonthInRange(d.month)) return;
  d.day += 1;
  if (d.day > kDaysInMonth[d.month - 1]) {
    d.day = 1;
    d.month += 1;
    if (d.month > 12) {
      d.month = 1;
      d.year += 1;
    }
  }
}

}  // namespace pt
