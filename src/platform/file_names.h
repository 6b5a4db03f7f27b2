#pragma once
// How the program's file names are written. The dialog's names are bytes in the system's ANSI code
// page (the current directory comes from GetCurrentDirectoryA), as fopen takes them; the console
// takes its arguments as UTF-16 and hands them on as UTF-8, so it says so once at start. On POSIX
// a name is bytes either way.
#include <cstdio>
#include <string>

namespace pt {

void UseUtf8FileNames();

// fopen with the names as set above.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace pt
