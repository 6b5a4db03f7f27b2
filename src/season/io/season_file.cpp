#include "season/io/season_file.h"

#include "season/io/archive.h"
#include "season/io/report_reader.h"
#include "season/io/whole_file.h"

namespace pt::season {

bool IsArchive(std::string_view bytes) {
  const std::string_view magic = kArchiveMagic;
  return bytes.size() > magic.size() && bytes.starts_with(magic) && bytes[magic.size()] == ' ';
}

bool ReadSeason(std::string_view bytes, const std::string& name, Season* out, std::string* error,
                UndatedSeason undated, bool* archive) {
  const bool isArchive = IsArchive(bytes);
  if (archive != nullptr) *archive = isArchive;
  if (isArchive) {
    if (ReadArchive(bytes, out, error, undated)) return true;
    *error = name + ": " + *error;
    return false;
  }
  if (ReadReport(bytes, out, error)) return true;
  *error = name + " is neither an archive nor a tavovalu.html this program wrote: " + *error;
  return false;
}

bool ReadSeasonFile(const std::string& path, Season* out, std::string* error, UndatedSeason undated,
                    bool* archive) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  return ReadSeason(bytes, path, out, error, undated, archive);
}

}  // namespace pt::season
