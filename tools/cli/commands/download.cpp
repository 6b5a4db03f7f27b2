#include "commands/download.h"

#include <cstdio>
#include <string>

#include "commands/logger_session.h"
#include "file_clashes.h"
#include "output_files.h"
#include "platform/console_out.h"
#include "report/samples.h"
#include "report_start.h"
#include "season/pages/sample_csv.h"
#include "season/model/season.h"
#include "season_outputs.h"
#include "say.h"

namespace cli {

namespace {

class Download {
 public:
  Download(const DownloadOptions& opts, const pt::TerminalText& text)
      : opts_(opts), session_(opts.line.port, opts.files.dir, !opts.noProgress, text) {}

  int Run();

 private:
  void Fail(ExitStatus status) {
    if (status_ == kExitOk) status_ = status;
  }
  // Memo, start record and pointer, as soon as they are read: a user who took the wrong logger
  // sees it before the samples are read.
  void PrintHeaders(const char* memo, const char* start, const char* pointer);
  void PrintReport();
  // The season the archive is made from, as the logger's recorded replies give it: undated when
  // the start record gives no start and none was typed. False when the replies make none.
  bool MakeSeason(pt::season::Season& season, std::string& error) const;
  void WriteCsv(const pt::JobReport& report, const pt::season::Season* season, const std::string& seasonError);
  void WriteSeason(const pt::JobReport& report, const pt::season::Season* season, const std::string& seasonError);

  const DownloadOptions& opts_;
  LoggerSession session_;
  ExitStatus status_ = kExitOk;
};

void Download::PrintHeaders(const char* memo, const char* start, const char* pointer) {
  pt::Print(stdout, "memo: %s\n", session_.Shown(memo).c_str());
  pt::Print(stdout, "start: %s\n", session_.Shown(start).c_str());
  pt::Print(stdout, "pointer: %s\n", session_.Shown(pointer).c_str());
  std::fflush(stdout);
}

void Download::PrintReport() {
  // Only a report that was written whole is announced; a failed one has had its message.
  if (status_ != kExitOk) return;
  pt::Print(stdout, "report: %s\n", session_.ReportPath().c_str());
  std::fflush(stdout);
}

bool Download::MakeSeason(pt::season::Season& season, std::string& error) const {
  // A start record the report refuses still leaves the readout worth keeping: it is archived
  // undated, for `report --start` to date.
  return pt::season::SeasonFromReplies(session_.Recorded(), StartHour(opts_.files.start), &season, &error,
                                       pt::season::UndatedSeason::Keep);
}

void Download::WriteCsv(const pt::JobReport& report, const pt::season::Season* season,
                        const std::string& seasonError) {
  // An empty logger makes no season (its one reply is the pointer's 0), yet its CSV is the header
  // alone, dated as the report was.
  const pt::season::Season empty;
  const bool emptyLogger = report.samples.empty();
  if (emptyLogger) season = &empty;
  if (season == nullptr) {
    Say("no CSV written: " + seasonError);
    Fail(kExitData);
    return;
  }
  if (season->undated || emptyLogger) {
    // Why the season has no start, in the words of the report that dated (or refused) it.
    std::string stamp = report.start;
    if (opts_.files.start) stamp = "STR:" + opts_.files.startText;
    CivilHour start;
    if (!ReportStartHour(stamp.c_str(), start)) {
      Say("no CSV written: the start record \"" + session_.Shown(stamp) + "\" is not a usable date");
      Fail(kExitData);
      return;
    }
    if (season->undated || !IsRealHour(start)) {
      char when[64];
      std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:00", start.year, start.month, start.day, start.hour);
      Say(std::string("no CSV written: the start ") + when + " is not a date on the calendar");
      Fail(kExitData);
      return;
    }
  }
  std::string error;
  if (!WriteOutputFile(opts_.files.csv,
                       pt::season::FormatSampleCsv(pt::season::WithOffset(*season, opts_.outputs.offsets.front()),
                                                   opts_.outputs.csvBom),
                       error)) {
    Say(error);
    Fail(kExitFile);
    return;
  }
  pt::Print(stdout, "csv: %s\n", opts_.files.csv.c_str());
  std::fflush(stdout);
}

void Download::WriteSeason(const pt::JobReport& report, const pt::season::Season* season,
                           const std::string& seasonError) {
  const SeasonOutputs& out = opts_.outputs;
  const bool wanted = !opts_.noArchive || !out.daily.empty() || !out.seasonPage.empty();
  if (!wanted) return;
  // An empty logger is no fault: its report has no rows, and there is no season to keep.
  if (report.samples.empty()) {
    pt::Print(stdout, "the logger holds no samples: no archive, daily figures or season page\n");
    std::fflush(stdout);
    return;
  }
  if (season == nullptr) {
    Say("no archive, daily figures or season page: " + seasonError);
    Fail(kExitData);
    return;
  }
  const std::string dir = opts_.files.dir.empty() ? "." : opts_.files.dir;
  Fail(WriteSeasonOutputs(out, opts_.files.csv, *season, opts_.noArchive ? std::string() : dir));
}

int Download::Run() {
  std::string error;
  ExitStatus files = CheckNoClash(FilesOf({{"the port", opts_.line.port}}, session_.ReportPath(), opts_.files.csv,
                                          opts_.outputs),
                                  error);
  if (files == kExitOk) files = MakeOutputFolder(opts_.files.dir, error);
  if (files == kExitOk) {
    files = CheckDownloadOutputs(opts_.files.dir.empty() ? "." : opts_.files.dir, session_.ReportPath(),
                                 opts_.files.csv, error);
  }
  if (files != kExitOk) {
    Say(error);
    return files;
  }
  pt::JobInputs in;
  in.request = pt::DownloadJob;
  in.baud = opts_.line.baud;
  in.start = opts_.files.start;
  session_.OnHeaders([this](const char* memo, const char* start, const char* pointer) {
    PrintHeaders(memo, start, pointer);
  });
  LoggerSession::Result run = session_.Run(in);
  Fail(run.status);
  if (!run.ended) return status_;

  PrintReport();
  pt::season::Readout readout = pt::season::ReadoutNow(opts_.line.port, opts_.line.baud);
  readout.localTime = run.endedAt.local;
  readout.utcOffsetMinutes = run.endedAt.utcOffsetMinutes;
  // The outcome of the download is settled; the clock read after it only adds to the archive.
  readout.clock = session_.CheckLoggerClock(in, true);

  // One season for every output of the samples: the CSV, the archive and what is made of it.
  pt::season::Season season;
  std::string seasonError;
  const bool made = MakeSeason(season, seasonError);
  season.readout = readout;
  if (!opts_.files.csv.empty()) WriteCsv(run.report, made ? &season : nullptr, seasonError);
  WriteSeason(run.report, made ? &season : nullptr, seasonError);
  return status_;
}

}  // namespace

void DownloadCommand::Register(CLI::App& app) {
  sub_ = app.add_subcommand("download",
                            "read memo, start record, pointer and every sample, then the logger's clock; write "
                            "tavovalu.html and a raw archive of the readout (and the outputs asked for)");
  AddLineOptions(*sub_, options.line);
  AddSeasonFiles(*sub_, options.files);
  AddSeasonOutputs(*sub_, options.outputs);
  sub_->add_flag("--no-archive", options.noArchive, "write no archive");
  sub_->add_flag("--no-progress", options.noProgress, "no progress display");
}

bool DownloadCommand::Check(std::string& error) {
  return CheckLineOptions(options.line, error) && CheckSeasonFiles(options.files, error) &&
         CheckSeasonOutputs(options.outputs, error);
}

int DownloadCommand::Run(const pt::TerminalText& text) {
  Download download(options, text);
  return download.Run();
}

}  // namespace cli
