#pragma once
// Text as the driver speaks it: UTF-8 on its pipes, UTF-16 in the window messages.
#include <string>

namespace uidriver {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
// A JSON string literal, so that a reply stays on one line whatever the text holds.
std::string Quote(const std::string& utf8);

}  // namespace uidriver
