#pragma once
// A file name in a folder given on the command line, in the system's own spelling: Windows
// takes "/" as well, but a path shown to a user there reads "C:\paddy\tavovalu.html".
#include <string>

namespace cli {

#ifdef _WIN32
inline constexpr const char* kFolderSeparators = "/\\";
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr const char* kFolderSeparators = "/";
inline constexpr char kFolderSeparator = '/';
#endif

// `name` in `dir`; "" is the current folder.
inline std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  const bool ends = std::string(kFolderSeparators).find(dir.back()) != std::string::npos;
#ifdef _WIN32
  // "C:" names the current folder of drive C, not its root.
  if (dir.size() == 2 && dir[1] == ':') return dir + name;
#endif
  return ends ? dir + name : dir + kFolderSeparator + name;
}

}  // namespace cli
