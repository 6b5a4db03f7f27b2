#pragma once
// What the program prints, in UTF-8. On POSIX the bytes go out as they are. On Windows a console
// is written in UTF-16 (WriteConsoleW), so Japanese reads right whatever its code page; a file
// or a pipe gets the UTF-8 bytes, the same as on Linux.
#include <cstdio>
#include <string>

namespace pt {

void WriteText(std::FILE* out, const std::string& utf8);
// printf's formatting, written with WriteText.
#ifdef __MINGW_PRINTF_FORMAT
void Print(std::FILE* out, const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
#else
void Print(std::FILE* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
#endif
// True when `out` is a terminal (a console on Windows).
bool IsTerminal(std::FILE* out);
// Lets a platform set up its standard streams before anything is printed.
void PrepareStandardStreams();

}  // namespace pt
