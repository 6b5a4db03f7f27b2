#include "cli_app.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "app/main_dialog.h"
#include "app/program_state.h"
#include "cli_options.h"
#include "compare_command.h"
#include "platform/console_out.h"
#include "platform/system_error.h"
#include "console_dialog.h"
#include "control_ids.h"
#include "dir_report_sink.h"
#include "exit_status.h"
#include "file_clashes.h"
#include "platform/interrupt.h"
#include "job_loop.h"
#include "outcome_reading.h"
#include "logger/jobs.h"
#include "logger/messages.h"
#include "output_files.h"
#include "serial/path_serial_device.h"
#include "progress_display.h"
#include "report/samples.h"
#include "platform/local_time.h"
#include "report_command.h"
#include "sample_csv.h"
#include "season_outputs.h"
#include "season/logger_clock.h"
#include "season/readout_recorder.h"
#include "serial/port.h"
#include "platform/terminal_text.h"

namespace cli {

namespace {

constexpr const char* kName = "paddytherm-cli";

void Say(const std::string& text) { pt::Print(stderr, "%s: %s\n", kName, text.c_str()); }

// A byte that would act on the line or the logger instead of being text: below 0x20, and DEL.
bool HasControlByte(const std::string& text) {
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) return true;
  }
  return false;
}

// The readout as ReadoutNow makes it, dated by the one time source everything the console prints
// or writes is dated by.
pt::season::Readout ReadoutAt(const pt::ZonedTime& now, const std::string& port, unsigned baud) {
  pt::season::Readout r = pt::season::ReadoutNow(port, baud);
  r.localTime = now.local;
  r.utcOffsetMinutes = now.utcOffsetMinutes;
  return r;
}

class Session {
 public:
  Session(const CliOptions& opts, const pt::TerminalText& text)
      : opts_(opts), text_(text), device_(opts.port), sink_(opts.dir),
        progress_(stderr, pt::IsTerminal(stderr) && !opts.noProgress) {}

  int Run();

 private:
  bool SetUpControls();
  // Starts the job on the console's device and sink and runs it to its end; false when the port
  // could not be opened.
  bool RunJob(int request);
  // Runs the read-clock job as a step of another command and prints the logger's clock against
  // the PC's. A clock that cannot be read is a warning only: the command goes on without it.
  pt::season::ClockReading CheckLoggerClock(bool warnIfOff);
  void AfterTick();
  void SayPortFailure();
  void SayOutcome(const pt::JobOutcome& outcome);
  void Fail(ExitStatus status) {
    if (status_ == kExitOk) status_ = status;
  }
  void PrintReplies();
  void WriteCsv();
  void WriteDownloadSeason(const pt::season::Readout& readout);
  std::string Shown(int id) const { return text_.ToTerminal(dlg_.Text(id)); }

  const CliOptions& opts_;
  const pt::TerminalText& text_;
  ConsoleDialog dlg_;
  pt::PathSerialDevice device_;
  DirReportSink sink_;
  ProgressDisplay progress_;
  ExitStatus status_ = kExitOk;
  pt::season::ReadoutRecorder recorder_;
  std::string lastMessage_;  // the last box the core showed, Shift-JIS
};

bool Session::SetUpControls() {
  // The port list's first row: whatever it names, the device opens --port.
  dlg_.ComboSetCurSel(IDC_PORT_COMBO, 0);
  dlg_.CheckRadioButton(IDC_SPEED_9600, IDC_SPEED_19200, opts_.baud == 19200 ? IDC_SPEED_19200 : IDC_SPEED_9600);
  dlg_.SetChecked(IDC_USE_PC_CLOCK, opts_.pcClock);
  dlg_.SetChecked(IDC_DEBUG_PERIOD, opts_.debugPeriod);
  dlg_.SetChecked(IDC_SPECIAL_START, !opts_.start.empty());
  dlg_.SetItemText(IDC_SPECIAL_START_EDIT, opts_.start.c_str());

  std::string sjis;
  if (!text_.FromTerminal(opts_.clock, sjis)) {
    Say("the clock text is not valid in this terminal's encoding");
    return false;
  }
  // A typed clock is checked here, before the port is opened; the core checks it again later.
  if (opts_.jobRequest == pt::SetClockJob && !opts_.pcClock && (sjis.size() != 14 || !pt::IsRealTimeText(sjis.c_str(), 14))) {
    const pt::JobOutcome badClock{pt::Outcome::BadInput, pt::kBadClockText, pt::ReportResult::NotAsked};
    SayOutcome(badClock);
    return false;
  }
  dlg_.SetItemText(IDC_CLOCK_EDIT, sjis.c_str());
  if (HasControlByte(opts_.memo)) {
    Say("the memo holds a control character (CR, LF, TAB, ESC...), which the logger would take as a command");
    return false;
  }
  if (!text_.FromTerminal(opts_.memo, sjis) || HasControlByte(sjis)) {
    Say("the memo holds characters that Shift-JIS cannot write");
    return false;
  }
  dlg_.SetItemText(IDC_MEMO_EDIT, sjis.c_str());
  return true;
}

void Session::SayPortFailure() {
  // The dialog's own text names a COM port; here the path and the system's reason say more.
  const int error = device_.LastOpenError();
  if (error != 0) {
    Say("cannot open " + device_.Path() + ": " + (error > 0 ? pt::SystemErrorText(error) : std::string("no device")));
  } else {
    Say("cannot configure " + device_.Path() + " (" + text_.ToTerminal(lastMessage_) + ")");
  }
}

void Session::SayOutcome(const pt::JobOutcome& outcome) {
  const OutcomeReading r = ReadOutcome(outcome, device_.Path(), sink_.Path());
  Fail(r.status);
  if (r.status == kExitOk) return;
  // A changing job whose command could not be written ends without a box; the English says it.
  std::string line = outcome.message[0] != '\0' ? text_.ToTerminal(outcome.message) + " (" + r.english + ")" : r.english;
  if (r.status == kExitRefused) {
    std::string reply = pt::Jobs.ReplyBuffer;
    pt::StripLineBreaks(reply.data());
    line += ": \"" + text_.ToTerminal(reply.c_str()) + "\"";
  }
  if (r.status == kExitFile && sink_.FirstError() != 0) line += ": " + pt::SystemErrorText(sink_.FirstError());
  Say(line);
}

void Session::AfterTick() {
  if (opts_.noProgress) return;
  if (pt::IsReadingSamples()) {
    progress_.Update(dlg_.ProgressPos(), dlg_.ProgressMax(), MonotonicMs());
  } else if (progress_.Active()) {
    progress_.Update(dlg_.ProgressPos(), dlg_.ProgressMax(), MonotonicMs());
    progress_.Finish();
  }
}

void Session::PrintReplies() {
  switch (opts_.jobRequest) {
    case pt::DownloadJob:
      pt::Print(stdout, "memo: %s\n", Shown(IDC_MEMO_CHECK_REPLY).c_str());
      pt::Print(stdout, "start: %s\n", Shown(IDC_START_CHECK_REPLY).c_str());
      pt::Print(stdout, "pointer: %s\n", Shown(IDC_POINTER_REPLY).c_str());
      // Only a report that was written whole is announced; a failed one has had its message.
      if (status_ == kExitOk) pt::Print(stdout, "report: %s\n", sink_.Path().c_str());
      break;
    case pt::SetClockJob:
      pt::Print(stdout, "clock set to %s\n", Shown(IDC_CLOCK_EDIT).c_str());
      break;
    case pt::WriteMemoJob:
      pt::Print(stdout, "memo written: \"%s\"\n", Shown(IDC_MEMO_EDIT).c_str());
      break;
    case pt::SetPeriodJob:
      pt::Print(stdout, "period set: %s\n", opts_.debugPeriod ? "debugging (Calm1)" : "regular (Calm2)");
      break;
    case pt::ReadClockJob: pt::Print(stdout, "%s\n", Shown(IDC_CLOCK_REPLY).c_str()); break;
    case pt::ReadMemoJob: pt::Print(stdout, "%s\n", Shown(IDC_MEMO_REPLY).c_str()); break;
    case pt::CheckMemoJob: pt::Print(stdout, "%s\n", Shown(IDC_MEMO_CHECK_REPLY).c_str()); break;
    case pt::CheckStartJob: pt::Print(stdout, "%s\n", Shown(IDC_START_CHECK_REPLY).c_str()); break;
    case pt::CheckPointerJob: pt::Print(stdout, "%s\n", Shown(IDC_POINTER_REPLY).c_str()); break;
    default: break;
  }
  std::fflush(stdout);
}

void Session::WriteCsv() {
  // The same stamp the report was dated from.
  std::string stamp = pt::Jobs.StartText;
  if (!opts_.start.empty()) stamp = "STR:" + opts_.start;
  CivilHour start;
  if (!ReportStartHour(stamp.c_str(), start)) {
    Say("no CSV written: the start record \"" + text_.ToTerminal(stamp) + "\" is not a usable date");
    Fail(kExitData);
    return;
  }
  if (!IsRealHour(start)) {
    char when[64];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:00", start.year, start.month, start.day, start.hour);
    Say(std::string("no CSV written: the start ") + when + " is not a date on the calendar");
    Fail(kExitData);
    return;
  }
  int count = pt::Jobs.SampleCount;
  if (count < 0) count = 0;
  if (count > pt::kSampleTableSize) count = pt::kSampleTableSize;
  std::string error;
  if (!WriteOutputFile(opts_.csv, FormatSampleCsv(start, pt::Jobs.SampleTable, count, opts_.csvBom), error)) {
    Say(error);
    Fail(kExitFile);
    return;
  }
  pt::Print(stdout, "csv: %s\n", opts_.csv.c_str());
  std::fflush(stdout);
}

pt::season::ClockReading Session::CheckLoggerClock(bool warnIfOff) {
  pt::season::ClockReading reading;
  const bool opened = RunJob(pt::ReadClockJob);
  // The reply came a tick or two ago at most; the clocks are compared to the second.
  reading.pc = pt::GetZonedTimeNow().local;
  const pt::JobOutcome& outcome = pt::Jobs.LastOutcome;
  std::string why;
  if (!opened) {
    why = "the port could not be opened";
  } else if (outcome.kind != pt::Outcome::Succeeded) {
    why = outcome.message[0] != '\0' ? text_.ToTerminal(outcome.message) + " (" +
                                           ReadOutcome(outcome, device_.Path(), sink_.Path()).english + ")"
                                     : ReadOutcome(outcome, device_.Path(), sink_.Path()).english;
  } else {
    reading.logger = pt::season::ParseLoggerClock(dlg_.Text(IDC_CLOCK_REPLY));
    if (!reading.logger) why = "the reply \"" + Shown(IDC_CLOCK_REPLY) + "\" is not a time YYYYMMDDhhmmss";
  }
  if (!reading.logger) {
    Say("warning: the logger's clock could not be read: " + why);
    return reading;
  }
  pt::Print(stdout, "clock: %s\n", pt::season::ClockComparison(reading).c_str());
  std::fflush(stdout);
  const long long offset = pt::season::ClockOffsetSeconds(*reading.logger, reading.pc);
  if (warnIfOff && (offset > pt::season::kClockWarningSeconds || -offset > pt::season::kClockWarningSeconds)) {
    Say("warning: the logger's clock is " + std::to_string(offset < 0 ? -offset : offset) + " s " +
        (offset < 0 ? "behind" : "ahead of") + " this PC's: if the PC is right, every hour of the season is dated " +
        "that far off");
  }
  return reading;
}

void Session::WriteDownloadSeason(const pt::season::Readout& readout) {
  const bool wanted = !opts_.noArchive || !opts_.daily.empty() || !opts_.seasonPage.empty();
  if (!wanted) return;
  // An empty logger is no fault: its report has no rows, and there is no season to keep.
  if (pt::Jobs.SampleCount == 0) {
    pt::Print(stdout, "the logger holds no samples: no archive, daily figures or season page\n");
    std::fflush(stdout);
    return;
  }
  pt::season::Season season;
  std::string error;
  // A start record the report refuses still leaves the readout worth keeping: it is archived
  // undated, for `report --start` to date.
  if (!pt::season::SeasonFromReplies(recorder_.Recorded(), TypedStart(opts_), &season, &error,
                                     pt::season::UndatedSeason::Keep)) {
    Say("no archive, daily figures or season page: " + error);
    Fail(kExitData);
    return;
  }
  season.readout = readout;
  Fail(WriteSeasonOutputs(opts_, season, opts_.noArchive ? std::string() : (opts_.dir.empty() ? "." : opts_.dir)));
}

bool Session::RunJob(int request) {
  const pt::ScopedPortDevice installDevice(&device_);
  const pt::ScopedReportSink installSink(&sink_);
  const pt::ScopedReadoutObserver installRecorder(&recorder_);
  if (!pt::StartJob(dlg_, request)) return false;
  LoopIo io;
  io.waitReadable = [this](int ms) { return device_.WaitReadable(ms); };
  io.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  io.stop = pt::Interrupted;
  RunStartedJob(dlg_, io, [this] { AfterTick(); });
  progress_.Finish();
  return true;
}

int Session::Run() {
  if (opts_.jobRequest == pt::DownloadJob) {
    std::string error;
    ExitStatus files = CheckNoClash(FilesOf(opts_, sink_.Path()), error);
    if (files == kExitOk) {
      files = CheckDownloadOutputs(opts_.dir.empty() ? "." : opts_.dir, sink_.Path(), opts_.csv, error);
    }
    if (files != kExitOk) {
      Say(error);
      return files;
    }
  }
  if (!SetUpControls()) return kExitBadInput;

  dlg_.SetMessageHandler([this](const char* m, const char*, pt::BoxOwner) {
    progress_.Finish();
    lastMessage_ = m;
  });
  // How far off the clock was is worth knowing before it is set right.
  if (opts_.jobRequest == pt::SetClockJob && opts_.pcClock) CheckLoggerClock(false);
  pt::CatchInterrupt();
  if (!RunJob(opts_.jobRequest)) {
    SayPortFailure();
    return kExitPort;
  }
  if (pt::Interrupted()) {
    device_.Close();
    Say("interrupted: the job was stopped between two commands; no file was written");
    return kExitInterrupted;
  }
  // The readout ends with the last sample, before anything is written.
  pt::season::Readout readout = ReadoutAt(pt::GetZonedTimeNow(), opts_.port, opts_.baud);

  const pt::JobOutcome& outcome = pt::Jobs.LastOutcome;
  SayOutcome(outcome);
  // A download that reached its report shows what it read, whatever became of the report.
  const bool ended = outcome.kind == pt::Outcome::Succeeded || outcome.report != pt::ReportResult::NotAsked;
  if (!ended) return status_;

  PrintReplies();
  // The outcome of the download is settled; the clock read after it only adds to the archive.
  if (opts_.jobRequest == pt::DownloadJob) readout.clock = CheckLoggerClock(true);
  if (opts_.jobRequest == pt::DownloadJob && !opts_.csv.empty()) WriteCsv();
  if (opts_.jobRequest == pt::DownloadJob) WriteDownloadSeason(readout);
  return status_;
}

}  // namespace

int RunCli(int argc, const char* const* argv) {
  CliOptions opts;
  std::string error;
  if (!ParseCommandLine(argc, argv, opts, error)) {
    Say(error);
    pt::Print(stderr, "Try '%s --help'.\n", kName);
    return kExitBadInput;
  }
  if (opts.help) {
    pt::WriteText(stdout, kUsageText);
    return kExitOk;
  }
  if (!opts.version.empty()) {
    pt::WriteText(stdout, opts.version + "\n");
    return kExitOk;
  }
  pt::CleanUpOnInterrupt();
  pt::TerminalText text(pt::TerminalText::LocaleCodeset());
  if (opts.command == "report") return RunReportCommand(opts, text);
  if (opts.command == "compare") return RunCompareCommand(opts);
  Session session(opts, text);
  return session.Run();
}

}  // namespace cli
