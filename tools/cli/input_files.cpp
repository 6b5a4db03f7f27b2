#include "input_files.h"

#include <utility>

#include "season/archive.h"

namespace cli {

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

bool ReadSeasonInput(const std::string& path, std::string& bytes, bool& archive, std::string& error) {
  if (!ReadInputFile(path, kReportSizeLimit, bytes, error)) return false;
  const std::string magic = std::string(pt::season::kArchiveMagic) + " ";
  archive = bytes.compare(0, magic.size(), magic) == 0;
  if (archive && bytes.size() > kArchiveSizeLimit) {
    error = "cannot read " + path + ": " + std::to_string(bytes.size()) +
            " bytes is more than the archive of a full season can be (4 MB)";
    return false;
  }
  return true;
}

}  // namespace cli
