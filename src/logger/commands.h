#pragma once
// The logger's command set, byte for byte. Every builder writes a NUL-terminated command into
// `out` (at least kCommandBufferSize bytes) and returns its length without the NUL.
#include <cstddef>

namespace pt {

inline constexpr int kCommandBufferSize = 80;
inline constexpr int kSampleCommandBufferSize = 20;

inline constexpr const char* kReadMemoCommand = "Rmem\r";
inline constexpr const char* kReadStartCommand = "Rstr\r";
inline constexpr const char* kReadPointerCommand = "Rpt\r";
inline constexpr const char* kReadClockCommand = "Cget\r";
inline constexpr const char* kDebugPeriodCommand = "Calm1\r";
inline constexpr const char* kRegularPeriodCommand = "Calm2\r";

// "Rdt%04d\r" with the index modulo 10000; `out` needs kSampleCommandBufferSize bytes.
int FormatSampleCommand(char* out, int index);
// "Cset" + the 14 characters + "\r".
int FormatSetClockCommand(char* out, const char* clock14);
// The memo padded with spaces (or cut) to exactly 16 bytes, never ending on half of a
// double-byte character; `padded` receives those 16 bytes and a NUL (17 bytes).
void PadMemo(const char* memo, char* padded);
// "Wmem" + the 16-byte padded memo + "\r".
int FormatWriteMemoCommand(char* out, const char* paddedMemo16);

}  // namespace pt
