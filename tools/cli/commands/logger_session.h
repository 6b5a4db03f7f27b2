#pragma once
// A job against the logger as the console runs it: the device opened by its path, the headless
// dialog the core runs on, the report in its folder, the progress on standard error, and what
// the user is told of the outcome. Shared by download and the single-command jobs.
#include <functional>
#include <string>
#include <utility>

#include "dir_report_sink.h"
#include "exit_status.h"
#include "logger/headless_dialog.h"
#include "logger/job_interface.h"
#include "platform/local_time.h"
#include "platform/terminal_text.h"
#include "progress_display.h"
#include "season/model/logger_clock.h"
#include "season/io/readout_recorder.h"
#include "serial/path_serial_device.h"

namespace cli {

// The recorder that also tells the session when the headers are in, so that they can be shown
// before the samples are read.
class HeaderWatchingRecorder : public pt::season::ReadoutRecorder {
 public:
  using HeadersHandler = std::function<void(const char* memo, const char* start, const char* pointer)>;
  void OnHeaders(const char* memo, const char* start, const char* pointer) override;
  HeadersHandler onHeaders;
};

class LoggerSession {
 public:
  LoggerSession(const std::string& port, const std::string& reportDir, bool progress, const pt::TerminalText& text);

  struct Result {
    ExitStatus status = kExitOk;  // kExitOk when the job did what it was asked; a failure was said
    // The job reached its end: a download that reached its report shows what it read, whatever
    // became of the report.
    bool ended = false;
    pt::JobReport report;
    pt::ZonedTime endedAt;  // when the job's last reply was in
  };
  // Runs the job `in` asks for to its end, or until Ctrl-C stops it between two commands.
  Result Run(const pt::JobInputs& in);
  // Runs the read-clock job as a step of another command and prints the logger's clock against
  // the PC's. A clock that cannot be read is a warning only: the command goes on without it.
  pt::season::ClockReading CheckLoggerClock(const pt::JobInputs& line, bool warnIfOff);

  const std::string& ReportPath() const { return sink_.Path(); }
  const std::string& PortPath() const { return device_.Path(); }
  const pt::season::Replies& Recorded() const { return recorder_.Recorded(); }
  // Called with memo, start record and pointer (Shift-JIS, line breaks cut) as soon as a download
  // has read them.
  void OnHeaders(HeaderWatchingRecorder::HeadersHandler handler) { recorder_.onHeaders = std::move(handler); }
  // Shift-JIS as this terminal shows it.
  std::string Shown(const std::string& sjis) const { return text_.ToTerminal(sjis); }

 private:
  // Starts the job and runs it to its end; false when the port could not be opened.
  bool RunJob(const pt::JobInputs& in);
  void AfterTick();
  void SayPortFailure();
  ExitStatus SayOutcome(const pt::JobReport& report);

  const pt::TerminalText& text_;
  pt::HeadlessDialog dlg_;
  pt::PathSerialDevice device_;
  DirReportSink sink_;
  ProgressDisplay progress_;
  bool showProgress_;
  HeaderWatchingRecorder recorder_;
  std::string lastMessage_;  // the last box the core showed, Shift-JIS
};

}  // namespace cli
