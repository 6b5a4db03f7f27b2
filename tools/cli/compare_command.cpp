#include "compare_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "console_out.h"
#include "exit_status.h"
#include "file_clashes.h"
#include "input_files.h"
#include "output_files.h"
#include "path_join.h"
#include "season/io/season_file.h"
#include "season/pages/compare.h"
#include "season/pages/compare_csv.h"

namespace cli {

namespace {

void Say(const std::string& text) { Print(stderr, "paddytherm-cli: %s\n", text.c_str()); }

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of(kFolderSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An input held to the limit of what it is, then read as the archive or report it is; the refusal
// names the file.
bool ReadCompareInput(const std::string& path, pt::season::Season* season, std::string* error) {
  std::string bytes;
  bool archive = false;
  return ReadSeasonInput(path, bytes, archive, *error) && pt::season::ReadSeason(bytes, path, season, error);
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
    if (!ReadCompareInput(opts.inputs[i], &seasons[i].season, &error)) {
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
      Print(stdout, "%s: %s\n", what, path.c_str());
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
