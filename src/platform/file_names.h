#pragma once
// How the program's file names are written. The dialog's names are bytes in the system's ANSI code
// page (the current directory comes from GetCurrentDirectoryA), as fopen takes them; the console
// takes its arguments as UTF-16 and hands them on as UTF-8, so it says so once at start. On POSIX
// a name is bytes either way.
#include <cstdio>
#include <string>

namespace pt {

void UseUtf8FileNames();

// How a name's bytes are read on Windows: as the program's names are (above), or as UTF-8 whatever
// they are, for a name made from text such as a memo, which the ANSI code page may not hold. On
// POSIX a name is bytes either way.
enum class NameBytes { Program, Utf8 };

// Makes the folder `path` when nothing has that name. True when a folder is there now; false with
// the system's code in `error` otherwise (a file of that name, no parent folder, no permission).
bool MakeFolder(const std::string& path, NameBytes names, int* error);

// fopen with the names as set above.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace pt
