#pragma once
// A message of paddytherm-cli, on standard error after the program's name.
#include <string>

#include "platform/console_out.h"

namespace cli {

inline void Say(const std::string& text) { pt::Print(stderr, "paddytherm-cli: %s\n", text.c_str()); }

}  // namespace cli
