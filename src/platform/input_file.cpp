#include "platform/input_file.h"

#include <utility>

namespace pt {

bool FinishInputRead(const std::string& path, std::size_t limit, std::string why, std::string& out,
                     std::string& bytes, std::string& error) {
  if (why.empty() && out.size() > limit) why = "it grew past " + std::to_string(limit >> 20) + " MB while it was read";
  if (!why.empty()) {
    error = "cannot read " + path + ": " + why;
    return false;
  }
  bytes = std::move(out);
  return true;
}

}  // namespace pt
