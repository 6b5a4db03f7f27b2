#include "logger/commands.h"

#include <cstdio>

#include "platform/sjis.h"

namespace pt {

namespace {

constexpr int kMemoBytes = 16;
constexpr int kClockChars = 14;

// Copies at most `limit` bytes of `text`, stopping at its NUL; returns the bytes copied.
int CopyUpTo(char* out, const char* text, int limit) {
  int n = 0;
  while (n < limit && text[n] != '\0') {
    out[n] = text[n];
    ++n;
  }
  return n;
}

}  // namespace

int FormatSampleCommand(char* out, int index) {
  // The logger addresses four digits; a negative index wraps like any other instead of
  // printing a sign.
  const int wrapped = ((index % 10000) + 10000) % 10000;
  return std::snprintf(out, kSampleCommandBufferSize, "Rdt%04d\r", wrapped);
}

int FormatSetClockCommand(char* out, const char* clock14) {
  int n = CopyUpTo(out, "Cset", 4);
  n += CopyUpTo(out + n, clock14, kClockChars);
  out[n++] = '\r';
  out[n] = '\0';
  return n;
}

void PadMemo(const char* memo, char* padded) {
  int n = 0;
  while (n < kMemoBytes && memo[n] != '\0') {
    const unsigned char c = static_cast<unsigned char>(memo[n]);
    if (IsSjisLeadByte(c)) {
      // A double-byte character goes whole or not at all: the logger would pair a lone lead
      // byte with whatever follows it.
      if (n + 1 >= kMemoBytes || memo[n + 1] == '\0') break;
      padded[n] = memo[n];
      padded[n + 1] = memo[n + 1];
      n += 2;
    } else {
      // A control byte would reach the logger as it is: a CR would end the command early, a TAB
      // or ESC would sit in the memo unseen. It goes as a blank, and the field shows that.
      padded[n] = (c < 0x20 || c == 0x7F) ? ' ' : memo[n];
      ++n;
    }
  }
  while (n < kMemoBytes) padded[n++] = ' ';
  padded[kMemoBytes] = '\0';
}

int FormatWriteMemoCommand(char* out, const char* paddedMemo16) {
  int n = CopyUpTo(out, "Wmem", 4);
  const int memo = CopyUpTo(out + n, paddedMemo16, kMemoBytes);
  for (int i = memo; i < kMemoBytes; ++i) out[n + i] = ' ';
  n += kMemoBytes;
  out[n++] = '\r';
  out[n] = '\0';
  return n;
}

}  // namespace pt
