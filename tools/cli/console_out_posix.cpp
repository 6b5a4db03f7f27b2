#include <unistd.h>

#include <cstring>

#include "console_out.h"

namespace cli {

void WriteText(std::FILE* out, const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), out); }

bool IsTerminal(std::FILE* out) { return isatty(fileno(out)) == 1; }

std::string SystemErrorText(int code) { return std::strerror(code); }

void PrepareStandardStreams() {}

}  // namespace cli
