#include "logger/text_numbers.h"

namespace pt {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseLeadingDecimal(const char* text, std::int32_t* value) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (*p < '0' || *p > '9') return false;
  std::int64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (*p - '0');
  }
  if (negative) {
    *value = magnitude > static_cast<std::int64_t>(INT32_MAX) + 1 ? INT32_MIN : static_cast<std::int32_t>(-magnitude);
  } else {
    *value = magnitude > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(magnitude);
  }
  return true;
}

bool ParseLeadingHex(const char* text, std::uint32_t* value) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && HexDigit(p[2]) >= 0) p += 2;
  if (HexDigit(*p) < 0) return false;
  std::uint32_t v = 0;
  for (; HexDigit(*p) >= 0; ++p) v = (v << 4) | static_cast<std::uint32_t>(HexDigit(*p));
  *value = negative ? 0u - v : v;
  return true;
}

}  // namespace pt
