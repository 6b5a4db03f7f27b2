#pragma once
// A file name as the Win32 wide-character calls take it.
#include <string>

#include "platform/file_names.h"

namespace pt {

// `path` decoded from UTF-8 after UseUtf8FileNames or for NameBytes::Utf8, else from the code page
// the ANSI file calls use (CP_ACP, or CP_OEMCP after SetFileApisToOEM); "" when it is no text in
// that encoding.
std::wstring WideFileName(const std::string& path, NameBytes names = NameBytes::Program);

}  // namespace pt
