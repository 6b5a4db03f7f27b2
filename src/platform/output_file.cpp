#include "platform/output_file.h"

#include "platform/replacement_file.h"

namespace pt {

// Whether a file can be replaced is best told by trying what the write will do: open a temporary
// beside it, then throw it away. The same on every system, since ReplacementFile is.
bool CanReplace(const std::string& path, int& error) {
  ReplacementFile probe;
  error = 0;
  if (!probe.Open(path.c_str())) {
    error = probe.Error();
    return false;
  }
  probe.Discard();
  return true;
}

}  // namespace pt
