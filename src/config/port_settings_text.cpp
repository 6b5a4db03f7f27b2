#include "config/port_settings_text.h"

#include <cstring>

namespace pt {
namespace {

bool EndsToken(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

int PortIndexFromLine(const char* line, std::size_t length, const PortRow* ports) {
  std::size_t token = 0;
  while (token < length && token < kPortTokenMax && !EndsToken(line[token])) ++token;
  if (ports == nullptr) return 0;
  for (int i = 0; ports[i].name != nullptr && ports[i].name[0] != '\0'; ++i) {
    const char* name = ports[i].name;
    if (std::strlen(name) == token && std::memcmp(name, line, token) == 0) return i;
  }
  return 0;
}

}  // namespace

int PortIndexFromSettingsText(const char* bytes, std::size_t size, const PortRow* ports, int current) {
  if (bytes == nullptr) return current;
  const void* nul = std::memchr(bytes, '\0', size);
  const std::size_t length = nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;

  // The value lines are, in order: port, speed, parity, data bits, stop bits. Only the port is
  // applied; the line is always configured from the program's own defaults and the radio buttons.
  int valueLines = 0;
  std::size_t start = 0;
  while (start < length) {
    const void* cr = std::memchr(bytes + start, '\r', length - start);
    if (cr == nullptr) break;  // an unterminated tail is not a line
    const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(cr) - bytes);
    std::size_t next = end + 1;
    if (next < length && bytes[next] == '\n') ++next;

    const bool comment = end > start && bytes[start] == ';';
    if (!comment) {
      ++valueLines;
      if (valueLines == 1) current = PortIndexFromLine(bytes + start, end - start, ports);
      if (valueLines >= 5) break;
    }
    start = next;
  }
  return current;
}

}  // namespace pt
