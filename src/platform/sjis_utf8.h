#pragma once
// Shift-JIS (code page 932, Microsoft's table) text decoded to UTF-8, for what people read: the
// logger's memo on a page, in a file name, in a terminal.
#include <cstdint>
#include <string>
#include <string_view>

namespace pt {

// `sjis` in UTF-8. A byte or pair that is no character there, a lead byte without its trail and a
// control byte (line noise in text for people) each become U+FFFD.
std::string SjisToUtf8(std::string_view sjis);

// The UTF-8 bytes of `c`, a character of the Basic Multilingual Plane, appended to `out`.
void AppendCodePoint(std::uint32_t c, std::string& out);

}  // namespace pt
