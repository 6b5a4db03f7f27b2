#pragma once
// Shift-JIS (code page 932) byte rules the program needs.

namespace pt {

inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Copies `src` into `dst` as GetDlgItemTextA would with a buffer of `size` bytes: at most size-1
// bytes and a NUL, but never ending on the lead byte of a double-byte character. Returns the bytes
// copied (without the NUL). size <= 0 copies nothing.
int CopySjisBounded(char* dst, int size, const char* src);

}  // namespace pt
