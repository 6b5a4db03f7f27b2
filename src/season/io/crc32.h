#pragma once
// CRC-32 with the IEEE polynomial, reflected, as zlib's crc32() computes it.
#include <cstddef>
#include <cstdint>

namespace pt::season {

// Continues `crc` (0 to begin) over `length` bytes.
std::uint32_t Crc32(const void* bytes, std::size_t length, std::uint32_t crc = 0);

}  // namespace pt::season
