#pragma once
// Turning what the logger sent back into dated temperatures, colour bands and daily figures.
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace pt {

// The date of the report row being written, and the hour of the first sample.
struct ReportDate {
  std::int32_t year = 0;
  std::int32_t month = 0;  // 1 is January
  std::int32_t day = 0;
  std::int32_t hour = 0;
};

// Kept for the whole run; a fresh value is the state at program start.
struct ReportState {
  ReportDate Date;
  std::int32_t SampleCount = 0;
};
extern ReportState Report;

struct DecodedSample {
  double temperature;
  bool starred;  // taken while the paddy held no water
};

struct DayStats {
  double mean;
  double maximum;
  double minimum;
};

inline constexpr int kHoursPerDay = 24;

// What a start stamp says: `result` 0 when it holds a usable start date and hour, -1 otherwise.
// Fields that hold a number are in `date` even when the stamp is refused; a field without one
// keeps its value from `before`.
struct DecodedStamp {
  int result;
  ReportDate date;
};
DecodedStamp DecodeStartStamp(const char* startStamp, const ReportDate& before = {});

// True when `text` begins with `digits` ASCII digits, YYYYMMDDhhmm (12) or YYYYMMDDhhmmss (14),
// that name a minute (or second) on the real calendar, leap days included, in the years 2000 to
// 2099 that the program's reports, archives and pages are dated in. What a person types
// is held to this before it is sent to the logger or dates a season; the logger's own start
// record is taken as the report has always read it.
bool IsRealTimeText(const char* text, int digits);

// Report.SampleCount from the pointer reply; a reply without a number leaves it as it was.
void ParseSampleCount(const char* pointerText);

DecodedSample DecodeSampleWord(const std::uint32_t* sampleTable, int index);

// The report's colour bands: a cell's colour changes at each of these temperatures, so that
// band i holds the temperatures below edge i and not below edge i-1, the last band the rest.
inline constexpr double kHeatBandEdges[] = {20.0, 25.0, 30.0, 35.0};
inline constexpr const char* kHeatBandColours[std::size(kHeatBandEdges) + 1] = {"#D0FFFF", "#FFFFF0", "#FFFF00",
                                                                               "#FFA500", "#FF0000"};

// The colour of the band `temperature` falls in, by the unrounded value.
const char* HeatColour(double temperature);

// -1.0 three times for an empty list.
DayStats ComputeDayStats(const double* values, int count);

// One day on, without leap years; the hour stays.
void AdvanceReportDate();

// 1 to 12 selects a row of the month table; anything else must not be advanced.
inline bool IsMonthInRange(std::int32_t month) { return month >= 1 && month <= 12; }

}  // namespace pt
