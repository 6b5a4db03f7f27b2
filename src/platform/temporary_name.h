#pragma once
// The suffix of a temporary file beside the one it will replace.
#include <cstdint>
#include <string>

namespace pt {

// A dot and six characters that no other process, nor another call of this one, is likely to pick
// at the same time: the process id, a counter and the clock, spread by splitmix64's finaliser.
// Lower-case letters and digits only, so that a file system that ignores case keeps them apart.
std::string TemporarySuffix(std::uint64_t processId);

}  // namespace pt
