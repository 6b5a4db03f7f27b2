#include "sim_season.h"

#include <cmath>
#include <cstdio>

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// A stateless mix, so that a day's weather depends on the seed and the day alone and a longer
// run never changes the samples of a shorter one.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Uniform in [0, 1).
double Unit(std::uint32_t seed, std::int64_t index, std::uint32_t salt) {
  std::uint64_t h = Mix(Mix(seed) ^ Mix(static_cast<std::uint64_t>(index) * 0x100000001B3ull + salt));
  return static_cast<double>(h >> 11) / 9007199254740992.0;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
  // Howard Hinnant's days_from_civil.
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilTime CivilFromSeconds(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  CivilTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

std::int64_t SecondsFromCivil(const CivilTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

bool ParseCompactTime(const std::string& text, std::size_t digits, CivilTime& out) {
  if (text.size() != digits || (digits != 12 && digits != 14)) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  auto field = [&](std::size_t pos, std::size_t len) { return std::stoi(text.substr(pos, len)); };
  CivilTime t;
  t.year = field(0, 4);
  t.month = field(4, 2);
  t.day = field(6, 2);
  t.hour = field(8, 2);
  t.minute = field(10, 2);
  t.second = digits == 14 ? field(12, 2) : 0;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
      t.hour > 23 || t.minute > 59 || t.second > 59)
    return false;
  out = t;
  return true;
}

std::string FormatClock(const CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

std::string FormatStartRecord(const CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "STR:%04d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  return buf;
}

std::uint16_t EncodeTemperature(double celsius, bool noWater) {
  long sixteenths = std::lround(celsius * 16.0);
  if (sixteenths < 0) sixteenths = 0;
  if (sixteenths > 0xFFF) sixteenths = 0xFFF;
  return static_cast<std::uint16_t>(sixteenths | (noWater ? kNoWaterBit : 0));
}

std::vector<std::uint16_t> MakeSeason(const CivilTime& start, int samples, std::uint32_t seed) {
  std::vector<std::uint16_t> words;
  if (samples <= 0) return words;
  words.reserve(static_cast<std::size_t>(samples));
  const std::int64_t firstDay = DaysFromCivil(start.year, start.month, start.day);
  const std::int64_t newYear = DaysFromCivil(start.year, 1, 1);
  for (int i = 0; i < samples; ++i) {
    const std::int64_t dayIndex = (start.hour + i) / 24;
    const int hour = (start.hour + i) % 24;
    const double dayOfYear = static_cast<double>(firstDay + dayIndex - newYear);
    // Paddy water follows the air: about 15 degrees on average in mid-April, 28 in late July.
    const double base = 17.0 - 11.0 * std::cos(2.0 * kPi * (dayOfYear - 25.0) / 365.0);
    const double sun = 0.3 + Unit(seed, dayIndex, 1);  // cloudy 0.3 .. sunny 1.3
    const double hotSpell = Unit(seed, dayIndex / 5, 2) < 0.2 ? 3.0 : 0.0;
    // The mid-season drainage, a week from day 45, and the odd short dry spell of a day or two.
    const bool drained = dayIndex >= 45 && dayIndex < 52;
    const bool dryDay = Unit(seed, dayIndex, 3) < 0.04 || (dayIndex > 0 && Unit(seed, dayIndex - 1, 3) < 0.02);
    const bool noWater = drained || dryDay;
    double swing = 4.0 * sun * (noWater ? 1.6 : 1.0);
    double temp = base + hotSpell * sun + swing * std::cos(2.0 * kPi * (hour - 14) / 24.0);
    temp += (Unit(seed, i, 4) - 0.5) * 0.6;
    words.push_back(EncodeTemperature(temp, noWater));
  }
  return words;
}

bool ParseWords(const std::string& text, std::vector<std::uint16_t>& words, std::string& error) {
  std::vector<std::uint16_t> out;
  std::size_t pos = 0;
  int lineNo = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    std::size_t a = line.find_first_not_of(" \t\r");
    if (a == std::string::npos) continue;
    std::size_t b = line.find_last_not_of(" \t\r");
    line = line.substr(a, b - a + 1);
    if (line.size() > 2 && line[0] == '0' && (line[1] == 'x' || line[1] == 'X')) line = line.substr(2);
    bool ok = !line.empty() && line.size() <= 4;
    for (char c : line) ok = ok && IsHexDigit(c);
    if (!ok) {
      error = "line " + std::to_string(lineNo) + ": not a hexadecimal word from 0 to FFFF";
      return false;
    }
    if (out.size() >= static_cast<std::size_t>(kMaxSamples)) {
      error = "more than " + std::to_string(kMaxSamples) + " words";
      return false;
    }
    out.push_back(static_cast<std::uint16_t>(std::stoul(line, nullptr, 16)));
  }
  words = std::move(out);
  return true;
}

std::string FormatWords(const std::vector<std::uint16_t>& words) {
  std::string out;
  out.reserve(words.size() * 5);
  char buf[8];
  for (std::uint16_t w : words) {
    std::snprintf(buf, sizeof buf, "%04X\n", w);
    out += buf;
  }
  return out;
}

}  // namespace sim
