#include "platform/sjis.h"

namespace pt {

int CopySjisBounded(char* dst, int size, const char* src) {
  if (size <= 0) return 0;
  int n = 0;
  while (src[n] != '\0') {
    const int width = (IsSjisLeadByte(static_cast<unsigned char>(src[n])) && src[n + 1] != '\0') ? 2 : 1;
    if (n + width > size - 1) break;  // a character that does not fit whole is left out
    for (int i = 0; i < width; ++i) dst[n + i] = src[n + i];
    n += width;
  }
  dst[n] = '\0';
  return n;
}

}  // namespace pt
