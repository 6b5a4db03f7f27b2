#include "input_files.h"

#include <utility>

#include "season/io/season_file.h"

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
  archive = pt::season::IsArchive(bytes);
  if (archive && bytes.size() > kArchiveSizeLimit) {
    error = "cannot read " + path + ": " + std::to_string(bytes.size()) +
            " bytes is more than the archive of a full season can be (4 MB)";
    return false;
  }
  return true;
}

}  // namespace cli
