#include "input_files.h"

#include "platform/input_file.h"
#include "season/archive.h"

namespace cli {

bool ReadSeasonInput(const std::string& path, std::string& bytes, bool& archive, std::string& error) {
  if (!pt::ReadInputFile(path, kReportSizeLimit, bytes, error)) return false;
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
