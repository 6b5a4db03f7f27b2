#include "platform/win32/sjis_wide.h"

#include "platform/sjis.h"

namespace pt {

namespace {
constexpr UINT kShiftJis = 932;
}

WideText::WideText(const char* sjis) {
  text_[0] = L'\0';
  if (sjis == nullptr) return;
  // Cut first, on a character boundary, so the conversion below always fits: every Shift-JIS
  // character of one or two bytes becomes one UTF-16 unit.
  char bounded[kWideTextMax];
  CopySjisBounded(bounded, kWideTextMax, sjis);
  if (MultiByteToWideChar(kShiftJis, 0, bounded, -1, text_, kWideTextMax) == 0) text_[0] = L'\0';
}

int WideToSjisBounded(const wchar_t* wide, char* out, int size) {
  if (size <= 0) return 0;
  int length = 0;
  while (length < kWideTextMax - 1 && wide[length] != L'\0') ++length;
  // At most two bytes per character in code page 932.
  char sjis[2 * kWideTextMax + 1];
  int bytes = 0;
  if (length > 0) {
    bytes = WideCharToMultiByte(kShiftJis, 0, wide, length, sjis, 2 * kWideTextMax, nullptr, nullptr);
  }
  sjis[bytes > 0 ? bytes : 0] = '\0';
  return CopySjisBounded(out, size, sjis);
}

}  // namespace pt
