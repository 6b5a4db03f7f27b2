#pragma once
// The two number conversions applied to logger replies, as "%d" and "%x" read them: leading white
// space, an optional sign, digits. Never undefined on overflow: decimal saturates, hexadecimal
// keeps the low 32 bits.
#include <cstdint>

namespace pt {

// true and *value when `text` begins (after white space) with a decimal number.
bool ParseLeadingDecimal(const char* text, std::int32_t* value);
// true and *value when `text` begins (after white space) with a hexadecimal number; an optional
// sign and 0x prefix are taken.
bool ParseLeadingHex(const char* text, std::uint32_t* value);

}  // namespace pt
