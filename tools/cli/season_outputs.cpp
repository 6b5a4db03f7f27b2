#include "season_outputs.h"

#include <cstdio>

#include "platform/console_out.h"
#include "platform/system_error.h"
#include "output_files.h"
#include "path_join.h"
#include "platform/replacement_file.h"
#include "report/decimal_text.h"
#include "season/io/archive.h"
#include "season/model/calendar.h"
#include "season/model/daily.h"
#include "season/pages/csv_text.h"
#include "season/pages/daily_csv.h"
#include "season/pages/season_page.h"
#include "say.h"
#include "season/pages/page_text.h"

namespace cli {

using pt::season::DateText;

namespace {

void Announce(const char* what, const std::string& path) {
  pt::Print(stdout, "%s: %s\n", what, path.c_str());
  std::fflush(stdout);
}

constexpr int kArchiveNameTries = 100;

// The archive in `dir` under a name no file has: its readout's, or with "-2", "-3"... before
// ".ptlog" when that is taken (two downloads in one second), never a name another output of
// `opts` will take. Created exclusively, so that nothing, not even another download at the same
// moment, is replaced. `path` is where it went, or the name that failed.
bool WriteNewArchive(const std::string& dir, const pt::season::Season& season, const SeasonOutputs& opts,
                     const std::string& csv, std::string& path, std::string& error) {
  std::string text;
  if (!pt::season::FormatArchive(season, &text, &error)) return false;
  const std::string name = pt::season::ArchiveFileName(season.readout->localTime);
  const std::string stem = name.substr(0, name.rfind('.'));
  const std::string extension = name.substr(stem.size());
  for (int n = 1; n <= kArchiveNameTries; ++n) {
    path = JoinPath(dir, n == 1 ? name : stem + "-" + std::to_string(n) + extension);
    bool other = false;
    for (const std::string* output : {&csv, &opts.daily, &opts.seasonPage}) {
      other = other || (!output->empty() && NamesSameFile(path, *output));
    }
    if (other) continue;
    pt::ReplacementFile file;
    if (file.OpenNew(path.c_str())) {
      if (file.Write(text.data(), text.size()) && file.Commit()) return true;
    } else if (file.NameTaken()) {
      continue;
    }
    error = "cannot write " + path + ": " + pt::SystemErrorText(file.Error());
    return false;
  }
  error = "every name from " + JoinPath(dir, name) + " to -" + std::to_string(kArchiveNameTries) + " is taken";
  return false;
}

}  // namespace

// A --from outside the season's days is most likely a mistyped year: the sum would start with the
// season, or take no day at all.
void WarnOfFromOutside(const pt::season::Season& season, const pt::season::DailyOptions& figures,
                       const std::string& label) {
  const auto dates = pt::season::SeasonDates(season);
  if (!figures.from || !dates) return;
  const std::int64_t from = pt::season::DayNumber(*figures.from);
  const std::string which = label.empty() ? "the season" : label + "'s season";
  const std::string days = " (" + DateText(dates->first) + " to " + DateText(dates->second) + ")";
  if (from < pt::season::DayNumber(dates->first)) {
    Say("warning: --from " + DateText(*figures.from) + " is before " + which + days +
        ": the sum starts with the season's first complete day");
  } else if (from > pt::season::DayNumber(dates->second)) {
    Say("warning: --from " + DateText(*figures.from) + " is after " + which + days + ": no day is summed");
  }
}

void WarnOfStagesOutside(const pt::season::Season& season, const pt::season::StageDates& stages,
                         const std::string& label) {
  const auto dates = pt::season::SeasonDates(season);
  if (!stages.Any() || !dates) return;
  const std::int64_t first = pt::season::DayNumber(dates->first), last = pt::season::DayNumber(dates->second);
  const std::string which = label.empty() ? "the season" : label + "'s season";
  const std::string span = " (" + DateText(dates->first) + " to " + DateText(dates->second) + ")";
  for (const auto& [name, date] : {std::pair{"--transplanted", stages.transplanted}, std::pair{"--heading", stages.heading}}) {
    if (!date) continue;
    const std::int64_t day = pt::season::DayNumber(*date);
    if (day >= first && day <= last) continue;
    // Only the stages this date leads to that some day of the season is in.
    const bool heading = std::string(name) == "--heading";
    std::string inside;
    for (const pt::season::Stage stage : pt::season::kStages) {
      if (pt::season::FromHeading(stage) != heading) continue;
      for (std::int64_t d = first; d <= last; ++d) {
        if (pt::season::StageOf(pt::season::DateOfDayNumber(d), stages) != stage) continue;
        inside += std::string(inside.empty() ? "" : ", ") + pt::season::StageKey(stage);
        break;
      }
    }
    Say("warning: " + std::string(name) + " " + DateText(*date) + " is " + (day < first ? "before " : "after ") + which +
        span + ": " + (inside.empty() ? "none of its stages falls inside it" : "its stages inside it: " + inside));
  }
}

ExitStatus WriteSeasonOutputs(const SeasonOutputs& opts, const std::string& csv, const pt::season::Season& season,
                              const std::string& archiveDir) {
  ExitStatus status = kExitOk;
  std::string error;
  if (!archiveDir.empty() && season.readout) {
    std::string path;
    if (WriteNewArchive(archiveDir, season, opts, csv, path, error)) {
      Announce("archive", path);
      if (season.undated) {
        Say("the archive is undated; once the season's start is known, date it with: paddytherm-cli report " + path +
            " --start YYYYMMDDhhmm");
      }
    } else {
      Say("no archive written: " + error);
      status = kExitFile;
    }
  }
  if (season.undated) {
    // Every figure past the archive is laid out by date.
    if (!opts.daily.empty() || !opts.seasonPage.empty()) {
      Say("no daily figures or season page: the season has no start to date them from");
      status = kExitData;
    }
    return status;
  }
  const pt::season::DailyOptions& figures = opts.figures;
  if (!opts.daily.empty() || !opts.seasonPage.empty()) {
    WarnOfFromOutside(season, figures);
    WarnOfStagesOutside(season, figures.stages);
  }
  // The archive above keeps the readings as the logger gave them; the figures carry the offset.
  const pt::season::Season corrected = pt::season::WithOffset(season, opts.offsets.front());
  if (!opts.daily.empty()) {
    WriteNamedOutput("daily", "daily figures", opts.daily, pt::season::FormatDailyCsv(corrected, figures, opts.csvBom),
                     status);
  }
  if (!opts.seasonPage.empty()) {
    WriteNamedOutput("season", "season page", opts.seasonPage,
                     pt::season::FormatSeasonPage(corrected, figures, opts.milestones), status);
  }
  return status;
}

}  // namespace cli
