#pragma once
// The two numbers the logger sends, its sample count and its sample words, taken from a reply only
// when the whole reply has the form the logger gives it.
#include <cstdint>

namespace pt {

// The most samples a logger can report: the slots of the sample table.
inline constexpr std::int32_t kMaxSampleCount = 10000;

// The line carries no checksum, so the shape of a reply is all there is to tell a clean one from
// one that noise has touched. A reply counts only when it is exactly: optional white space (the
// logger's LF), the number, then nothing but white space (its CR, perhaps an LF) to the end.
// Anything else, a stray byte, a letter, a sign, a second number, is malformed: false, and
// *value is left alone.
//
// Sample reply: an optional 0x, then one to eight hexadecimal digits.
bool CheckSampleReply(const char* reply, std::uint32_t* value);
// Pointer reply: decimal digits, no sign; a value beyond the 32 bits saturates. Whether the
// table can hold that many is the caller's to judge.
bool CheckPointerReply(const char* reply, std::int32_t* value);

}  // namespace pt
