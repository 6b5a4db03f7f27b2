#include "season/model/pair.h"

#include <algorithm>
#include <cmath>

#include "season/model/daily.h"

namespace pt::season {

namespace {

std::int64_t HourNumber(const CivilHour& h) { return DayNumber(h.Date()) * kHoursPerDay + h.hour; }

// Readings from an archive are sixteenths of a degree, from a tavovalu.html tenths, and a
// calibration offset adds hundredths: all are whole numbers of 1/400 °C. On that grid the sums
// and their difference are exact integers, so a tie such as -0.05 is seen as the tie it is
// rather than as -0.0500000001 or -0.0499999999.
constexpr double kGrid = 400.0;

bool OnGrid(double v, std::int64_t& units) {
  const double scaled = v * kGrid;
  if (!(std::fabs(scaled) < 1e12)) return false;
  units = std::llround(scaled);
  return std::fabs(scaled - static_cast<double>(units)) < 1e-6;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

std::int64_t DifferenceTenths(const std::vector<double>& inletDay, const std::vector<double>& fieldDay) {
  const auto n = static_cast<std::int64_t>(std::min(inletDay.size(), fieldDay.size()));
  if (n == 0) return 0;
  std::int64_t units = 0;
  bool exact = true;
  double inletSum = 0.0, fieldSum = 0.0;
  for (std::int64_t i = 0; i < n; ++i) {
    std::int64_t a = 0, b = 0;
    exact = exact && OnGrid(inletDay[i], a) && OnGrid(fieldDay[i], b);
    units += b - a;
    inletSum += inletDay[i];
    fieldSum += fieldDay[i];
  }
  if (exact) {
    // units / (400 n) degrees, in tenths floor(units * 10 / (400 n) + 1/2).
    return FloorDiv(units * 10 + 200 * n, 400 * n);
  }
  // Readings off the grid come from no file this program reads; for them a tie is a tie within
  // a millionth of a tenth, far below any reading's resolution and far above the error of a sum.
  const double tenths = (fieldSum / static_cast<double>(n) - inletSum / static_cast<double>(n)) * 10.0;
  return static_cast<std::int64_t>(std::floor(tenths + 0.5 + 1e-6));
}

SeasonPair PairSeasons(const Season& inlet, const Season& field) {
  SeasonPair pair;
  if (inlet.samples.empty() || field.samples.empty()) return pair;
  const std::int64_t inletStart = HourNumber(inlet.start), fieldStart = HourNumber(field.start);
  const std::int64_t first = std::max(inletStart, fieldStart);
  const std::int64_t end = std::min(inletStart + static_cast<std::int64_t>(inlet.samples.size()),
                                    fieldStart + static_cast<std::int64_t>(field.samples.size()));
  for (std::int64_t h = first; h < end; ++h) {
    const std::size_t i = static_cast<std::size_t>(h - inletStart), f = static_cast<std::size_t>(h - fieldStart);
    pair.hours.push_back({SampleHour(inlet, i), inlet.samples[i].temperature, field.samples[f].temperature});
  }

  const std::vector<DailyRow> inletDays = ComputeDaily(inlet), fieldDays = ComputeDaily(field);
  const std::int64_t offset = DayNumber(field.start.Date()) - DayNumber(inlet.start.Date());
  std::vector<double> a, b;
  for (std::size_t i = 0; i < inletDays.size(); ++i) {
    const std::int64_t j = static_cast<std::int64_t>(i) - offset;
    if (j < 0 || j >= static_cast<std::int64_t>(fieldDays.size())) continue;
    const DailyRow& in = inletDays[i];
    const DailyRow& fi = fieldDays[static_cast<std::size_t>(j)];
    if (!in.Complete() || !fi.Complete() || !in.mean || !fi.mean) continue;
    // A complete day's samples run from its midnight on.
    const std::int64_t midnight = DayNumber(in.date) * kHoursPerDay;
    a.clear();
    b.clear();
    for (int h = 0; h < kHoursPerDay; ++h) {
      a.push_back(inlet.samples[static_cast<std::size_t>(midnight + h - inletStart)].temperature);
      b.push_back(field.samples[static_cast<std::size_t>(midnight + h - fieldStart)].temperature);
    }
    pair.days.push_back({in.date, *in.mean, *fi.mean, DifferenceTenths(a, b)});
  }
  return pair;
}

std::vector<PairedDay> DaysBeyond(const SeasonPair& pair, std::int64_t marginTenths) {
  std::vector<PairedDay> beyond;
  for (const PairedDay& d : pair.days) {
    if (d.differenceTenths > marginTenths || d.differenceTenths < -marginTenths) beyond.push_back(d);
  }
  return beyond;
}

}  // namespace pt::season
