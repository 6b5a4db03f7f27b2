#pragma once
// Files written whole (through ReplacementFile) and read whole, with a message for people on failure.
#include <string>
#include <string_view>

namespace pt::season {

// Replaces `path` with `bytes` only when all of them were written; the file there before stays
// otherwise. False with a message naming the file and the system's reason.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string* error);
bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

}  // namespace pt::season
