#pragma once
// Reading the port back out of the text of "COM_STA.INI".
#include <cstddef>

#include "serial/port.h"

namespace pt {

// How much of the file is looked at; anything beyond is never seen.
inline constexpr std::size_t kPortSettingsReadMax = 900;
// Longest port token compared against the port names.
inline constexpr std::size_t kPortTokenMax = 70;

// The port index that `bytes` selects. Lines end in CR or CR LF; text after the last CR is not a
// line, and a NUL ends the text as it would a C string. Lines starting with ';' are comments. The
// first other line names the port: its token (up to a space, tab, LF or CR, at most
// kPortTokenMax bytes) is looked up, case-sensitively, in `ports`, a table ended by an empty name;
// no match, an empty token included, gives 0. Without any such line the result is `current`.
// Reads at most `size` bytes and needs no terminator.
int PortIndexFromSettingsText(const char* bytes, std::size_t size, const PortRow* ports, int current);

}  // namespace pt
