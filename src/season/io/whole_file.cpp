#include "season/io/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_names.h"
#include "platform/replacement_file.h"

namespace pt::season {

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string* error) {
  ReplacementFile file;
  if (file.Open(path.c_str()) && file.Write(bytes.data(), bytes.size()) && file.Commit()) return true;
  // On Windows the code is GetLastError's, which strerror does not know; the number still helps.
  *error = "cannot write " + path + " (system error " + std::to_string(file.Error()) + ")";
  return false;
}

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string out;
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    *error = "cannot read " + path;
    return false;
  }
  *bytes = std::move(out);
  return true;
}

}  // namespace pt::season
