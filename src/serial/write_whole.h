#pragma once
// A command handed whole to a write call that may take less than it is given.
#include <cstdint>

namespace pt {

// `writeSome(p, n, written)` writes up to `n` bytes from `p`, sets `written`, and returns false
// when the write failed. A write that stops short goes on from where it stopped. One that
// succeeds having taken nothing ends it, as a success: the driver's write time-out passed with
// the line stalled, and to the exchange that is a command without a reply, asked again like one.
template <typename WriteSome>
bool WriteWhole(const void* data, std::uint32_t size, WriteSome writeSome) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    std::uint32_t written = 0;
    if (!writeSome(p, size, written)) return false;
    if (written == 0) return true;
    if (written > size) written = size;
    p += written;
    size -= written;
  }
  return true;
}

}  // namespace pt
