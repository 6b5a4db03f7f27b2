// libFuzzer target for the reader of COM_STA.INI. Besides letting the sanitizers watch every
// byte, it checks the reader against a plain rendering of the file's rules: the text copied into
// a 901-byte buffer and cut into C strings in place, as the file was first read.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "config/port_settings_text.h"

namespace {

const pt::PortRow kPorts[] = {
    {"COM1", ""},  {"COM2", ""},  {"COM3", ""},  {"COM4", ""},  {"COM5", ""},  {"COM6", ""},
    {"COM7", ""},  {"COM8", ""},  {"COM9", ""},  {"COM10", ""}, {"COM11", ""}, {"COM12", ""},
    {"COM13", ""}, {"COM14", ""}, {"COM15", ""}, {"COM16", ""}, {"COM17", ""}, {"COM18", ""},
    {"COM19", ""}, {"COM20", ""}, {"", ""},
};
constexpr int kUnchanged = 7;

int ReferencePortIndex(const std::uint8_t* data, std::size_t size) {
  char buf[pt::kPortSettingsReadMax + 1];
  const std::size_t n = size < pt::kPortSettingsReadMax ? size : pt::kPortSettingsReadMax;
  std::memcpy(buf, data, n);
  buf[n] = '\0';
  int port = kUnchanged;
  int valueLines = 0;
  for (char* line = buf;;) {
    char* cr = std::strchr(line, '\r');
    if (cr == nullptr) break;
    *cr = '\0';
    char* next = cr + 1;
    if (*next == '\n') *next++ = '\0';
    if (line[0] != ';' && ++valueLines == 1) {
      char token[pt::kPortTokenMax + 1];
      std::size_t k = 0;
      while (k < pt::kPortTokenMax && line[k] != '\0' && std::strchr(" \t\n\r", line[k]) == nullptr) {
        token[k] = line[k];
        ++k;
      }
      token[k] = '\0';
      port = 0;
      for (int i = 0; kPorts[i].name[0] != '\0'; ++i) {
        if (std::strcmp(kPorts[i].name, token) == 0) {
          port = i;
          break;
        }
      }
    }
    line = next;
  }
  return port;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  // The whole input, unterminated: the reader must stay inside it whatever its length.
  const int whole = pt::PortIndexFromSettingsText(text, size, kPorts, kUnchanged);
  if (whole != kUnchanged && (whole < 0 || whole >= 20)) __builtin_trap();
  // What the program looks at: the first 900 bytes.
  const std::size_t read = size < pt::kPortSettingsReadMax ? size : pt::kPortSettingsReadMax;
  if (pt::PortIndexFromSettingsText(text, read, kPorts, kUnchanged) != ReferencePortIndex(data, size)) {
    __builtin_trap();
  }
  return 0;
}
