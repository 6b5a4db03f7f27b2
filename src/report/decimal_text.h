#pragma once
// Temperatures and daily figures as the report shows them: one decimal, half up.

namespace pt {

// Enough for the longest double (309 integer digits), a sign, the point, a decimal and the NUL.
inline constexpr int kDecimalTextSize = 320;

// Writes `value` with one decimal into `out`, rounding half away from zero on the exact binary
// value (25.25 gives "25.3", 25.125 "25.1"), the same on every platform; printf would round an
// exact tie to even. Infinities and NaN give "inf", "-inf" and "nan". Returns the length, or -1
// (and an empty text, when size > 0) if `out` is too small.
int FormatOneDecimal(double value, char* out, int size);

}  // namespace pt
