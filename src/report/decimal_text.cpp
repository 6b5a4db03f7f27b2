#include "report/decimal_text.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace pt {

namespace {

// Digits of an unsigned integer m * 2^shift, most significant first, into `digits`; returns
// their count. Works on fixed 32-bit limbs so that any finite double fits without allocating.
int IntegerDigits(std::uint64_t m, int shift, char* digits) {
  constexpr int kLimbs = 36;  // 1152 bits > 2^1024
  std::uint32_t limb[kLimbs] = {};
  limb[0] = static_cast<std::uint32_t>(m);
  limb[1] = static_cast<std::uint32_t>(m >> 32);
  const int whole = shift / 32;
  const int bits = shift % 32;
  if (whole > 0) {
    for (int i = kLimbs - 1; i >= 0; --i) limb[i] = i >= whole ? limb[i - whole] : 0;
  }
  if (bits > 0) {
    for (int i = kLimbs - 1; i > 0; --i) limb[i] = (limb[i] << bits) | (limb[i - 1] >> (32 - bits));
    limb[0] <<= bits;
  }

  char reversed[kDecimalTextSize];
  int n = 0;
  int top = kLimbs - 1;
  while (top > 0 && limb[top] == 0) --top;
  do {
    std::uint64_t rest = 0;
    for (int i = top; i >= 0; --i) {
      const std::uint64_t cur = (rest << 32) | limb[i];
      limb[i] = static_cast<std::uint32_t>(cur / 10);
      rest = cur % 10;
    }
    reversed[n++] = static_cast<char>('0' + rest);
    while (top > 0 && limb[top] == 0) --top;
  } while (top > 0 || limb[0] != 0);

  for (int i = 0; i < n; ++i) digits[i] = reversed[n - 1 - i];
  return n;
}

int CopyOut(const char* text, int length, char* out, int size) {
  if (length + 1 > size) {
    if (size > 0) out[0] = '\0';
    return -1;
  }
  std::memcpy(out, text, static_cast<std::size_t>(length));
  out[length] = '\0';
  return length;
}

}  // namespace

int FormatOneDecimal(double value, char* out, int size) {
  char text[kDecimalTextSize];
  int n = 0;
  if (std::isnan(value)) return CopyOut("nan", 3, out, size);
  if (std::signbit(value)) {
    text[n++] = '-';
    value = -value;
  }
  if (std::isinf(value)) {
    std::memcpy(text + n, "inf", 3);
    return CopyOut(text, n + 3, out, size);
  }

  // value = m * 2^e exactly, with m an integer below 2^53.
  int exponent = 0;
  const double fraction = std::frexp(value, &exponent);
  const std::uint64_t m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int e = exponent - 53;

  if (e >= 0) {
    // An integer: every digit is exact and the decimal is 0.
    n += IntegerDigits(m, e, text + n);
    text[n++] = '.';
    text[n++] = '0';
    return CopyOut(text, n, out, size);
  }

  // tenths = 10*m / 2^k rounded half up, decided on the exact remainder. 10*m < 2^57, so any k
  // above 63 leaves less than half a tenth.
  const int k = -e;
  std::uint64_t tenths = 0;
  if (k <= 63) {
    const std::uint64_t scaled = m * 10;
    const std::uint64_t mask = (std::uint64_t{1} << k) - 1;
    tenths = scaled >> k;
    if ((scaled & mask) >= (std::uint64_t{1} << (k - 1))) ++tenths;
  }
  n += IntegerDigits(tenths / 10, 0, text + n);
  text[n++] = '.';
  text[n++] = static_cast<char>('0' + tenths % 10);
  return CopyOut(text, n, out, size);
}

}  // namespace pt
