#include "platform/temporary_name.h"

#include <chrono>

namespace pt {

std::string TemporarySuffix(std::uint64_t processId) {
  static std::uint64_t counter = 0;
  const auto ticks = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  std::uint64_t x = (processId << 40) ^ (++counter << 20) ^ ticks;
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ULL;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebULL;
  x ^= x >> 31;
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(".");
  for (int i = 0; i < 6; ++i, x /= 36) s += kChars[x % 36];
  return s;
}

}  // namespace pt
