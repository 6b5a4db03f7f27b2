#include "platform/console_out.h"

#include <cstdarg>
#include <vector>

namespace pt {

void Print(std::FILE* out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (n > 0) {
    std::vector<char> text(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    WriteText(out, std::string(text.data(), static_cast<std::size_t>(n)));
  }
  va_end(again);
}

}  // namespace pt
