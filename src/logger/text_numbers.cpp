#include "logger/text_numbers.h"

namespace pt {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Before the number: the logger's LF, or blanks; a CR would mean the reply had ended already.
const char* SkipLeadingBlanks(const char* p) {
  while (*p == '\n' || *p == ' ' || *p == '\t') ++p;
  return p;
}

// After the number: only the line's ending, up to the end of what was received.
bool OnlyLineEndFollows(const char* p) {
  for (; *p != '\0'; ++p) {
    if (*p != '\r' && *p != '\n' && *p != ' ' && *p != '\t') return false;
  }
  return true;
}

}  // namespace

bool CheckSampleReply(const char* reply, std::uint32_t* value) {
  const char* p = SkipLeadingBlanks(reply);
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
  std::uint32_t v = 0;
  int digits = 0;
  for (; HexDigit(*p) >= 0; ++p, ++digits) {
    if (digits == 8) return false;
    v = (v << 4) | static_cast<std::uint32_t>(HexDigit(*p));
  }
  if (digits == 0 || !OnlyLineEndFollows(p)) return false;
  *value = v;
  return true;
}

bool CheckPointerReply(const char* reply, std::int32_t* value) {
  const char* p = SkipLeadingBlanks(reply);
  std::int64_t v = 0;
  int digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
    if (v <= INT32_MAX) v = v * 10 + (*p - '0');
  }
  if (digits == 0 || !OnlyLineEndFollows(p)) return false;
  *value = v > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(v);
  return true;
}

}  // namespace pt
