#pragma once
// The system's own words for an error code, in UTF-8.
#include <string>

namespace pt {

// The text for `code`: an errno value on POSIX, a GetLastError code on Windows.
std::string SystemErrorText(int code);

}  // namespace pt
