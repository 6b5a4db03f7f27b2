#include "config/port_settings_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "config/messages.h"
#include "config/port_settings_text.h"
#include "platform/current_dir.h"
#include "platform/replacement_file.h"
#include "serial/port.h"

namespace pt {

PortSettingsFileState PortSettingsFile;

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

constexpr std::size_t kPathSize = kSettingsDirSize + 1 + sizeof kPortSettingsFileName;

// Fills `path` from the remembered directory; false when there is none.
bool BuildSettingsPath(char (&path)[kPathSize]) {
  if (!PortSettingsFile.SettingsDirKnown) return false;
  const void* nul = std::memchr(PortSettingsFile.SettingsDir, '\0', kSettingsDirSize);
  if (nul == nullptr) return false;  // not terminated: never trust it
  const std::size_t dir = static_cast<std::size_t>(static_cast<const char*>(nul) - PortSettingsFile.SettingsDir);
  std::memcpy(path, PortSettingsFile.SettingsDir, dir);
  path[dir] = kPathSeparator;
  std::memcpy(path + dir + 1, kPortSettingsFileName, sizeof kPortSettingsFileName);
  return true;
}

// The settings are only ever changed through the dialog, but an index out of its table must
// still not read past it: the first row stands in.
template <class Row, std::size_t N>
const char* NameAt(const Row (&table)[N], std::int32_t index, std::size_t rows = N) {
  return index >= 0 && static_cast<std::size_t>(index) < rows ? table[index].name : table[0].name;
}

class TextBuilder {
 public:
  TextBuilder(char* buf, std::size_t capacity) : buf_(buf), capacity_(capacity) {}
  void Line(const char* text) {
    Append(text);
    Append("\r\n");
  }
  std::size_t length() const { return length_; }

 private:
  void Append(const char* text) {
    const std::size_t n = std::strlen(text);
    if (n > capacity_ - length_) return;  // cannot happen with the fixed layout
    std::memcpy(buf_ + length_, text, n);
    length_ += n;
  }
  char* buf_;
  std::size_t capacity_;
  std::size_t length_ = 0;
};

std::size_t FormatPortSettings(const PortSettings& s, char* buf, std::size_t capacity) {
  TextBuilder text(buf, capacity);
  text.Line(kPortSettingsTitleLine);
  text.Line(";");
  text.Line(";");
  text.Line(";[COM-PORT] COM1 ...... COM20");
  text.Line(NameAt(PortTable, s.port, kPortCount));
  text.Line(";");
  text.Line(";[SPEED] 300,600,1200,2400,4800,9600,19200,38400");
  text.Line(NameAt(SpeedTable, s.speed));
  text.Line(";");
  text.Line(";[PARITY] NON, ODD, EVEN");
  text.Line(NameAt(ParityTable, s.parity));
  text.Line(";");
  text.Line(";[DATA-BIT] 7, 8");
  text.Line(NameAt(DataBitsTable, s.dataBits));
  text.Line(";");
  text.Line(";[STOP-BIT] 1, 1.5, 2");
  text.Line(NameAt(StopBitsTable, s.stopBits));
  text.Line(";");
  return text.length();
}

}  // namespace

void LoadPortSettings() {
  PortSettingsFile = PortSettingsFileState{};
  if (GetCurrentDir(PortSettingsFile.SettingsDir, kSettingsDirSize) < 0) {
    PortSettingsFile = PortSettingsFileState{};
    return;
  }
  PortSettingsFile.SettingsDirKnown = 1;

  char path[kPathSize];
  if (!BuildSettingsPath(path)) return;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return;
  char text[kPortSettingsReadMax + 1];
  const std::size_t n = std::fread(text, 1, kPortSettingsReadMax, file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return;
  text[n] = '\0';
  Port.Settings.port = PortIndexFromSettingsText(text, n, PortTable, Port.Settings.port);
}

void SavePortSettings() {
  char path[kPathSize];
  if (!BuildSettingsPath(path)) return;
  char text[512];
  const std::size_t n = FormatPortSettings(Port.Settings, text, sizeof text);
  // Written whole or not at all: a cut file would lose the port at the next start.
  ReplacementFile file;
  if (file.Open(path) && file.Write(text, n)) file.Commit();
}

}  // namespace pt
