#include <unistd.h>

#include "platform/console_out.h"

namespace pt {

void WriteText(std::FILE* out, const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), out); }

bool IsTerminal(std::FILE* out) { return isatty(fileno(out)) == 1; }

void PrepareStandardStreams() {}

}  // namespace pt
