#pragma once
// A file name as the Win32 wide-character calls take it.
#include <string>

namespace pt {

// `path` decoded from UTF-8 after UseUtf8FileNames, else from the code page the ANSI file calls
// use (CP_ACP, or CP_OEMCP after SetFileApisToOEM); "" when it is no text in that encoding.
std::wstring WideFileName(const std::string& path);

}  // namespace pt
