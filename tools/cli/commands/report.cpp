#include "commands/report.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "dir_report_sink.h"
#include "platform/console_out.h"
#include "platform/system_error.h"
#include "exit_status.h"
#include "file_clashes.h"
#include "input_files.h"
#include "logger/headless_dialog.h"
#include "logger/jobs.h"
#include "output_files.h"
#include "report/html_report.h"
#include "season/pages/sample_csv.h"
#include "season/io/archive.h"
#include "season/io/report_reader.h"
#include "season_outputs.h"
#include "platform/terminal_text.h"
#include "say.h"

namespace cli {

namespace {

std::string WithoutLineBreaks(std::string text) {
  pt::StripLineBreaks(text.data());
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

// The start stamp the report is dated from: --start, or else the archive's own start as the
// download dated it, the typed start it recorded or the logger's start record.
std::string ReportStamp(const ReportOptions& opts, const pt::season::Season& season) {
  if (opts.files.start) return "STR:" + opts.files.startText;
  if (!season.startTyped) return WithoutLineBreaks(season.replies->start);
  // The report reads the start's hour and never its minutes.
  char stamp[64];
  const pt::season::CivilHour& s = season.start;
  std::snprintf(stamp, sizeof stamp, "STR:%04d%02d%02d%02d00", s.year, s.month, s.day, s.hour);
  return stamp;
}

// tavovalu.html from the archived replies, through the core's own writer, as the download wrote
// it: the logger's start record (or the typed start) and pointer, the words in their slots.
ExitStatus RewriteReport(const ReportOptions& opts, const pt::TerminalText& text, const pt::season::Season& season,
                         DirReportSink& sink) {
  static std::uint32_t table[pt::kSampleTableSize];
  std::fill(std::begin(table), std::end(table), 0u);
  for (std::size_t i = 0; i < season.samples.size() && i < std::size(table); ++i) {
    table[i] = season.samples[i].word.value_or(0);
  }
  const std::string stamp = ReportStamp(opts, season);
  const std::string pointer = WithoutLineBreaks(season.replies->pointer);

  pt::HeadlessDialog dlg;
  std::string shown;
  dlg.SetMessageHandler([&](const char* m, const char*, pt::BoxOwner) { shown = m; });
  pt::ResetProgramState();
  const pt::ScopedReportSink installSink(&sink);
  pt::ReportOutcome outcome;
  pt::WriteReport(dlg, stamp.c_str(), pointer.c_str(), table, &outcome);
  switch (outcome.result) {
    case pt::ReportResult::Written:
      pt::Print(stdout, "report: %s\n", sink.Path().c_str());
      std::fflush(stdout);
      return kExitOk;
    case pt::ReportResult::BadStamp:
    case pt::ReportResult::BadCount:
      Say(text.ToTerminal(shown) + " (the archive's start or count cannot make a report; " + sink.Path() +
          " is as it was)");
      return kExitData;
    default:
      Say(text.ToTerminal(shown) + " (" + sink.Path() + " could not be written; the earlier one is kept)");
      return kExitFile;
  }
}

}  // namespace

void ReportCommand::Register(CLI::App& app) {
  sub_ = app.add_subcommand("report",
                            "rebuild from FILE without the logger: FILE an archive written by download "
                            "(tavovalu.html again, byte for byte, and the outputs asked for) or a tavovalu.html "
                            "(the outputs asked for only)");
  sub_->add_option("file", options.input, "an archive or a tavovalu.html")->option_text("FILE");
  AddSeasonFiles(*sub_, options.files);
  AddSeasonOutputs(*sub_, options.outputs);
  sub_->add_flag("--html", options.html, "write tavovalu.html again (into --dir, or here); --dir alone asks for it too");
}

bool ReportCommand::Check(std::string& error) {
  if (options.input.empty()) {
    error = "report needs the FILE to rebuild from (an archive or a tavovalu.html)";
    return false;
  }
  if (!CheckSeasonFiles(options.files, error) || !CheckSeasonOutputs(options.outputs, error)) return false;
  // --dir names where tavovalu.html goes, and so asks for it.
  if (options.files.dirOption->count() > 0) options.html = true;
  if (!options.html && options.files.csv.empty() && options.outputs.daily.empty() &&
      options.outputs.seasonPage.empty()) {
    error = "report has nothing to write: ask for tavovalu.html (--html or --dir), --csv, --daily or --season";
    return false;
  }
  return true;
}



int ReportCommand::Run(const pt::TerminalText& text) {
  const ReportOptions& opts = options;
  std::string bytes, error;
  // The report is only rewritten from an archive: whether it is an output is known once the input
  // has been read, and it is compared then, still before anything is written.
  const bool wantsReport = opts.html;
  DirReportSink sink(opts.files.dir);
  ExitStatus clash = CheckNoClash(FilesOf({{"the input", opts.input}}, "", opts.files.csv, opts.outputs), error);
  bool archive = false;
  if (clash == kExitOk && !ReadSeasonInput(opts.input, bytes, archive, error)) {
    Say(error);
    return kExitBadInput;
  }
  if (clash == kExitOk && archive && wantsReport) clash = CheckNoClash(FilesOf({{"the input", opts.input}}, sink.Path(), opts.files.csv, opts.outputs), error);
  if (clash != kExitOk) {
    Say(error);
    return clash;
  }
  pt::season::Season season;
  if (archive) {
    if (!pt::season::ReadArchive(bytes, &season, &error, pt::season::UndatedSeason::Keep)) {
      Say(opts.input + ": " + error);
      return kExitBadInput;
    }
    if (season.undated && !opts.files.start) {
      Say(opts.input + " is undated: its start record \"" + text.ToTerminal(WithoutLineBreaks(season.replies->start)) +
          "\" gives no start; give the season's start with --start YYYYMMDDhhmm");
      return kExitBadInput;
    }
    if (opts.files.start) {
      pt::season::Season redated;
      if (!pt::season::SeasonFromReplies(*season.replies, StartHour(opts.files.start), &redated, &error)) {
        Say(opts.input + ": " + error);
        return kExitData;
      }
      redated.readout = season.readout;
      season = redated;
    }
  } else {
    if (opts.files.start) {
      Say("--start dates a report rebuilt from an archive; " + opts.input + " is no archive");
      return kExitBadInput;
    }
    if (!pt::season::ReadReport(bytes, &season, &error)) {
      Say(opts.input + " is neither an archive nor a tavovalu.html this program wrote: " + error);
      return kExitBadInput;
    }
    if (wantsReport) {
      Say("tavovalu.html is made again only from an archive, and " + opts.input +
          " is a report: leave out --html and --dir, and ask for --csv, --daily or --season");
      return kExitBadInput;
    }
  }

  if (wantsReport) {
    ExitStatus files = MakeOutputFolder(opts.files.dir, error);
    if (files == kExitOk) files = CheckDownloadOutputs(opts.files.dir.empty() ? "." : opts.files.dir, sink.Path(), opts.files.csv, error);
    if (files != kExitOk) {
      Say(error);
      return files;
    }
  }
  ExitStatus status = wantsReport ? RewriteReport(opts, text, season, sink) : kExitOk;
  const auto worst = [&status](ExitStatus s) {
    if (status == kExitOk) status = s;
  };
  if (!opts.files.csv.empty()) {
    if (WriteOutputFile(opts.files.csv,
                        pt::season::FormatSampleCsv(pt::season::WithOffset(season, opts.outputs.offsets.front()),
                                                    opts.outputs.csvBom),
                        error)) {
      pt::Print(stdout, "csv: %s\n", opts.files.csv.c_str());
      std::fflush(stdout);
    } else {
      Say(error);
      worst(kExitFile);
    }
  }
  worst(WriteSeasonOutputs(opts.outputs, opts.files.csv, season, ""));
  return status;
}

}  // namespace cli
