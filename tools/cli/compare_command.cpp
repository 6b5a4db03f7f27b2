#include "compare_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/console_out.h"
#include "platform/system_error.h"
#include "exit_status.h"
#include "file_clashes.h"
#include "input_files.h"
#include "output_files.h"
#include "path_join.h"
#include "season/archive.h"
#include "season/compare.h"
#include "season/report_reader.h"

namespace cli {

namespace {

void Say(const std::string& text) { pt::Print(stderr, "paddytherm-cli: %s\n", text.c_str()); }

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of(kFolderSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An archive by its first line, anything else as a tavovalu.html; the refusal names the file.
bool ReadSeasonFile(const std::string& path, pt::season::Season* season, std::string* error) {
  std::string bytes;
  bool archive = false;
  if (!ReadSeasonInput(path, bytes, archive, *error)) return false;
  if (archive) {
    if (pt::season::ReadArchive(bytes, season, error)) return true;
    *error = path + ": " + *error;
    return false;
  }
  if (pt::season::ReadReport(bytes, season, error)) return true;
  *error = path + " is neither an archive nor a tavovalu.html this program wrote: " + *error;
  return false;
}

}  // namespace

int RunCompareCommand(const CliOptions& opts) {
  pt::season::CompareOptions options;
  std::string error;
  SeasonFigureOptions(opts, options.daily, error);  // checked when the command line was read
  options.by = opts.byDay ? pt::season::CompareBy::Day : pt::season::CompareBy::Date;
  options.milestones = opts.milestones;
  const ExitStatus clash = CheckNoClash(FilesOf(opts, ""), error);
  if (clash != kExitOk) {
    Say(error);
    return clash;
  }

  // Every file is read before anything is written: one bad file leaves no page without it.
  std::vector<pt::season::ComparedSeason> seasons(opts.inputs.size());
  for (std::size_t i = 0; i < opts.inputs.size(); ++i) {
    if (!ReadSeasonFile(opts.inputs[i], &seasons[i].season, &error)) {
      Say(error);
      return kExitBadInput;
    }
    // A report read back has no memo; its file's name tells the seasons apart instead.
    seasons[i].label = seasons[i].season.memoUtf8.empty() ? BaseName(opts.inputs[i]) : seasons[i].season.memoUtf8;
  }

  ExitStatus status = kExitOk;
  const auto write = [&](const char* what, const std::string& path, const std::string& bytes) {
    if (path.empty()) return;
    if (WriteOutputFile(path, bytes, error)) {
      pt::Print(stdout, "%s: %s\n", what, path.c_str());
      std::fflush(stdout);
    } else {
      Say(std::string("no ") + what + " written: " + error);
      status = kExitFile;
    }
  };
  if (!opts.daily.empty()) write("daily", opts.daily, pt::season::FormatCompareDailyCsv(seasons, options.daily, opts.csvBom));
  if (!opts.seasonPage.empty()) write("season", opts.seasonPage, pt::season::FormatComparePage(seasons, options));
  return status;
}

}  // namespace cli
