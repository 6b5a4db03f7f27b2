#pragma once
// The stored data of the simulated logger: its start stamp, a made-up but plausible season of
// hourly water temperatures, and the plain word files that tests and the demo share with it.
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

inline constexpr int kMaxSamples = 10000;
inline constexpr std::uint16_t kNoWaterBit = 0x4000;

// A wall-clock moment, seconds resolution, no time zone.
struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
CivilTime CivilFromSeconds(std::int64_t seconds);
std::int64_t SecondsFromCivil(const CivilTime& t);

// Reads exactly `digits` characters: "YYYYMMDDhhmm" (12) or "YYYYMMDDhhmmss" (14). False on any
// non-digit or a field out of its range (the day is checked against its month).
bool ParseCompactTime(const std::string& text, std::size_t digits, CivilTime& out);
// "YYYYMMDDhhmmss".
std::string FormatClock(const CivilTime& t);
// "STR:YYYYMMDDhhmm".
std::string FormatStartRecord(const CivilTime& t);

// Whole degrees in bits 4..11, sixteenths in bits 0..3; clamped to 0..255.9375.
std::uint16_t EncodeTemperature(double celsius, bool noWater);

// One sample an hour from `start`: a daily swing on a base that warms from spring into high
// summer, hot spells, and a mid-season drainage plus a few short dry spells with bit 14 set.
// The same start, count and seed always give the same words.
std::vector<std::uint16_t> MakeSeason(const CivilTime& start, int samples, std::uint32_t seed);

// One hexadecimal word per line (optional "0x", surrounding blanks and a CR before the LF are
// allowed; empty lines are skipped). False with a message naming the line on anything else,
// a value above FFFF or more than kMaxSamples words.
bool ParseWords(const std::string& text, std::vector<std::uint16_t>& words, std::string& error);
// "%04X\n" per word.
std::string FormatWords(const std::vector<std::uint16_t>& words);

}  // namespace sim
