#include "platform/file_names.h"

namespace pt {

void UseUtf8FileNames() {}

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

}  // namespace pt
