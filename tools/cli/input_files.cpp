#include "input_files.h"

#include "platform/input_file.h"
#include "season/io/season_file.h"

namespace cli {

bool ReadSeasonInput(const std::string& path, std::string& bytes, bool& archive, std::string& error) {
  if (!pt::ReadInputFile(path, kReportSizeLimit, bytes, error)) return false;
  archive = pt::season::IsArchive(bytes);
  if (archive && bytes.size() > kArchiveSizeLimit) {
    error = "cannot read " + path + ": " + std::to_string(bytes.size()) +
            " bytes is more than the archive of a full season can be (4 MB)";
    return false;
  }
  return true;
}

bool ReadSeasonFromInput(const std::string& path, pt::season::Season* season, std::string* error) {
  std::string bytes;
  bool archive = false;
  return ReadSeasonInput(path, bytes, archive, *error) && pt::season::ReadSeason(bytes, path, season, error);
}

}  // namespace cli
