#include "commands/compare.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/system_error.h"
#include "exit_status.h"
#include "file_clashes.h"
#include "input_files.h"
#include "season_outputs.h"
#include "output_files.h"
#include "path_join.h"
#include "season/io/season_file.h"
#include "season/pages/compare.h"
#include "season/pages/compare_csv.h"
#include "season/pages/season_labels.h"
#include "say.h"

namespace cli {

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of(kFolderSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name of the folder `path` is in, where the path names one.
std::string FolderName(const std::string& path) {
  const std::size_t slash = path.find_last_of(kFolderSeparators);
  if (slash == std::string::npos) return "";
  std::string folder = BaseName(path.substr(0, slash));
  return folder == "." || folder == ".." || (folder.size() == 2 && folder[1] == ':') ? "" : folder;
}

std::vector<NamedFile> Inputs(const std::vector<CompareInput>& inputs) {
  std::vector<NamedFile> named;
  for (const CompareInput& input : inputs) named.push_back({"the input", input.path});
  return named;
}

}  // namespace

void CompareCommand::Register(CLI::App& app) {
  sub_ = app.add_subcommand("compare",
                            "several seasons (archives or tavovalu.html files) side by side: --season a page with "
                            "their daily means and accumulated water temperature overlaid, --daily all their daily "
                            "figures in one CSV");
  sub_->add_option("files", options.inputTexts,
                   "archives or tavovalu.html files; FILE=LABEL names the season LABEL (the label follows the "
                   "last \"=\", so a file whose name holds one is given as FILE=)")
      ->option_text("FILE[=LABEL]...");
  AddSeasonOutputs(*sub_, options.outputs, OffsetOption::PerFile);
  by_ = sub_->add_option("--by", options.byText,
                         "line the seasons up by month and day (default), or by day of season (day 1 being "
                         "--from, or the first complete day)")
            ->option_text("date|day");
}

bool CompareCommand::Check(std::string& error) {
  CompareOptions& opts = options;
  if (opts.inputTexts.empty()) {
    error = "compare needs the FILEs to compare (archives or tavovalu.html files)";
    return false;
  }
  opts.inputs.clear();
  for (const std::string& text : opts.inputTexts) {
    const std::size_t equals = text.rfind('=');
    CompareInput input{text.substr(0, equals), equals == std::string::npos ? "" : text.substr(equals + 1)};
    if (input.path.empty()) {
      error = "\"" + text + "\" names no file before its label";
      return false;
    }
    opts.inputs.push_back(input);
  }
  if (opts.outputs.seasonPage.empty() && opts.outputs.daily.empty()) {
    error = "compare needs --season OUT.html, --daily OUT.csv or both";
    return false;
  }
  if (by_->count() > 0) {
    if (opts.byText != "date" && opts.byText != "day") {
      error = "--by must be date or day, not \"" + opts.byText + "\"";
      return false;
    }
    opts.byDay = opts.byText == "day";
  }
  if (!CheckSeasonOutputs(opts.outputs, error)) return false;
  if (opts.outputs.stages.size() != 1 && opts.outputs.stages.size() != opts.inputs.size()) {
    const char* which = opts.outputs.transplantedText.find(',') != std::string::npos ? "--transplanted" : "--heading";
    error = std::string(which) + " gives " + std::to_string(opts.outputs.stages.size()) + " dates for " +
            std::to_string(opts.inputs.size()) + " FILEs: give one for all, or one for each";
    return false;
  }
  if (opts.outputs.offsets.size() != 1 && opts.outputs.offsets.size() != opts.inputs.size()) {
    error = "--offset gives " + std::to_string(opts.outputs.offsets.size()) + " offsets for " +
            std::to_string(opts.inputs.size()) + " FILEs: give one for all, or one for each";
    return false;
  }
  return true;
}

int CompareCommand::Run(const pt::TerminalText&) {
  const CompareOptions& opts = options;
  pt::season::CompareOptions compared;
  std::string error;
  compared.daily = opts.outputs.figures;
  compared.by = opts.byDay ? pt::season::CompareBy::Day : pt::season::CompareBy::Date;
  compared.milestones = opts.outputs.milestones.value_or(pt::season::DefaultMilestones(compared.daily.base));
  const ExitStatus clash = CheckNoClash(FilesOf(Inputs(opts.inputs), "", "", opts.outputs), error);
  if (clash != kExitOk) {
    Say(error);
    return clash;
  }

  // Every file is read before anything is written: one bad file leaves no page without it.
  std::vector<pt::season::ComparedSeason> seasons(opts.inputs.size());
  for (std::size_t i = 0; i < opts.inputs.size(); ++i) {
    pt::season::Season read;
    if (!ReadSeasonFromInput(opts.inputs[i].path, &read, &error)) {
      Say(error);
      return kExitBadInput;
    }
    const std::vector<double>& offsets = opts.outputs.offsets;
    seasons[i].season = pt::season::WithOffset(std::move(read), offsets[offsets.size() == 1 ? 0 : i]);
  }
  std::vector<pt::season::LabelSource> sources;
  for (std::size_t i = 0; i < opts.inputs.size(); ++i) {
    const std::string& path = opts.inputs[i].path;
    sources.push_back({opts.inputs[i].label, BaseName(path), FolderName(path), &seasons[i].season});
  }
  const std::vector<std::string> labels = pt::season::SeasonLabels(sources);
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    seasons[i].label = labels[i];
    const auto& stages = opts.outputs.stages;
    seasons[i].stages = stages[stages.size() == 1 ? 0 : i];
    WarnOfFromOutside(seasons[i].season, compared.daily, labels[i]);
    WarnOfStagesOutside(seasons[i].season, seasons[i].stages, labels[i]);
  }

  ExitStatus status = kExitOk;
  if (!opts.outputs.daily.empty()) {
    WriteNamedOutput("daily", "daily figures", opts.outputs.daily,
                     pt::season::FormatCompareDailyCsv(seasons, compared.daily, opts.outputs.csvBom), status);
  }
  if (!opts.outputs.seasonPage.empty()) {
    WriteNamedOutput("season", "page", opts.outputs.seasonPage, pt::season::FormatComparePage(seasons, compared),
                     status);
  }
  return status;
}

}  // namespace cli
