// The two reply checks against arbitrary bytes: never a read past the reply, and a reply that
// counts holds nothing but white space around one number, whose value is the one returned.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "logger/text_numbers.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The digits of the one number in `reply`, or "" when anything else stands between the blanks.
std::string DigitsOf(const std::string& reply, bool hex) {
  std::size_t i = 0;
  while (i < reply.size() && reply[i] != '\r' && IsBlank(reply[i])) ++i;
  if (hex && reply.compare(i, 2, "0x") == 0) i += 2;
  if (hex && reply.compare(i, 2, "0X") == 0) i += 2;
  std::string digits;
  for (; i < reply.size() && !IsBlank(reply[i]); ++i) digits += reply[i];
  for (; i < reply.size(); ++i) {
    if (!IsBlank(reply[i])) return "";
  }
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string reply(reinterpret_cast<const char*>(data), size);
  const char* text = reply.c_str();  // a NUL inside ends the reply, as in the reply buffer
  const std::string seen(text);

  std::uint32_t word = 0xDEADBEEF;
  if (pt::CheckSampleReply(text, &word)) {
    const std::string digits = DigitsOf(seen, true);
    if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos ||
        std::strtoul(digits.c_str(), nullptr, 16) != word) {
      std::abort();
    }
  } else if (word != 0xDEADBEEF) {
    std::abort();
  }

  std::int32_t count = -1;
  if (pt::CheckPointerReply(text, &count)) {
    const std::string digits = DigitsOf(seen, false);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos || count < 0) std::abort();
    const unsigned long long expected = std::strtoull(digits.c_str(), nullptr, 10);
    if (expected < INT32_MAX && static_cast<unsigned long long>(count) != expected) std::abort();
  } else if (count != -1) {
    std::abort();
  }
  return 0;
}
