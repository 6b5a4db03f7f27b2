#pragma once
// Shift-JIS (code page 932) to and from UTF-16, in fixed buffers.
#include <windows.h>

namespace pt {

// The longest text converted in one piece, in characters; the program's texts are far shorter
// (80-byte fields, a path and a sentence in a message box).
inline constexpr int kWideTextMax = 1024;

// A Shift-JIS text as UTF-16. A longer text is cut before the character that does not fit, never
// inside one; a null pointer gives the empty text.
class WideText {
 public:
  explicit WideText(const char* sjis);
  const wchar_t* c_str() const { return text_; }

 private:
  wchar_t text_[kWideTextMax];
};

// Writes `wide` as Shift-JIS into `out` as GetDlgItemTextA would with a buffer of `size` bytes:
// at most size-1 bytes and a NUL, never ending on a lead byte. Returns the bytes written.
int WideToSjisBounded(const wchar_t* wide, char* out, int size);

}  // namespace pt
