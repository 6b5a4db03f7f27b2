#pragma once
// The temperature report "tavovalu.html": one row per day, one column per hour.
#include <cstdint>

#include "platform/dialog.h"

namespace pt {

inline constexpr int kSampleTableSize = 10000;

// Writes "tavovalu.html" into the current directory in one go; failures are shown in message
// boxes. The caller ends its job whatever this returns (0 written whole, -1 otherwise).
int WriteReport(Dialog& owner, const char* startStamp, const char* pointerText,
                const std::uint32_t* sampleTable);

}  // namespace pt
