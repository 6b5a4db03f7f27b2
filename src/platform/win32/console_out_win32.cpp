#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/console_out.h"
#include "platform/terminal_text.h"

namespace pt {

namespace {

HANDLE ConsoleOf(std::FILE* out) {
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out)));
  DWORD mode = 0;
  return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) != 0 ? h : nullptr;
}

}  // namespace

void WriteText(std::FILE* out, const std::string& utf8) {
  const HANDLE console = ConsoleOf(out);
  if (console == nullptr) {
    std::fwrite(utf8.data(), 1, utf8.size(), out);
    return;
  }
  // What went through the C stream must come out before what bypasses it.
  std::fflush(out);
  const std::wstring wide = WideFromUtf8(utf8);
  DWORD written = 0;
  WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

bool IsTerminal(std::FILE* out) { return ConsoleOf(out) != nullptr; }

void PrepareStandardStreams() {
  // Text mode would write CR LF; a file or a pipe gets the same bytes as on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace pt
