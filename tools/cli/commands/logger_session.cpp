#include "logger_session.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "app/main_dialog.h"
#include "app/program_state.h"
#include "job_loop.h"
#include "outcome_reading.h"
#include "platform/console_out.h"
#include "platform/interrupt.h"
#include "platform/system_error.h"
#include "say.h"

namespace cli {

void HeaderWatchingRecorder::OnHeaders(const char* memo, const char* start, const char* pointer) {
  ReadoutRecorder::OnHeaders(memo, start, pointer);
  if (!onHeaders) return;
  const auto cut = [](const char* reply) {
    std::string text = reply;
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
  };
  onHeaders(cut(memo).c_str(), cut(start).c_str(), cut(pointer).c_str());
}

LoggerSession::LoggerSession(const std::string& port, const std::string& reportDir, bool progress,
                             const pt::TerminalText& text)
    : text_(text), device_(port), sink_(reportDir), progress_(stderr, pt::IsTerminal(stderr) && progress),
      showProgress_(progress) {
  dlg_.SetMessageHandler([this](const char* m, const char*, pt::BoxOwner) {
    progress_.Finish();
    lastMessage_ = m;
  });
}

void LoggerSession::SayPortFailure() {
  // The dialog's own text names a COM port; here the path and the system's reason say more.
  const int error = device_.LastOpenError();
  if (error != 0) {
    Say("cannot open " + device_.Path() + ": " + (error > 0 ? pt::SystemErrorText(error) : std::string("no device")));
  } else {
    Say("cannot configure " + device_.Path() + " (" + text_.ToTerminal(lastMessage_) + ")");
  }
}

ExitStatus LoggerSession::SayOutcome(const pt::JobReport& report) {
  const pt::JobOutcome& outcome = report.outcome;
  const OutcomeReading r = ReadOutcome(outcome, device_.Path(), sink_.Path());
  if (r.status == kExitOk) return kExitOk;
  // A changing job whose command could not be written ends without a box; the English says it.
  std::string line = outcome.message[0] != '\0' ? text_.ToTerminal(outcome.message) + " (" + r.english + ")" : r.english;
  if (r.status == kExitRefused) line += ": \"" + text_.ToTerminal(report.refusedReply) + "\"";
  if (r.status == kExitFile && sink_.FirstError() != 0) line += ": " + pt::SystemErrorText(sink_.FirstError());
  Say(line);
  return r.status;
}

void LoggerSession::AfterTick() {
  if (!showProgress_) return;
  if (pt::IsReadingSamples()) {
    progress_.Update(dlg_.ProgressPos(), dlg_.ProgressMax(), pt::MonotonicMs());
  } else if (progress_.Active()) {
    progress_.Update(dlg_.ProgressPos(), dlg_.ProgressMax(), pt::MonotonicMs());
    progress_.Finish();
  }
}

bool LoggerSession::RunJob(const pt::JobInputs& in) {
  const pt::ScopedPortDevice installDevice(&device_);
  const pt::ScopedReportSink installSink(&sink_);
  const pt::ScopedReadoutObserver installRecorder(&recorder_);
  pt::ApplyJobInputs(dlg_, in);
  if (!pt::StartJob(dlg_, in.request)) return false;
  LoopIo io;
  io.waitReadable = [this](int ms) { return device_.WaitReadable(ms); };
  io.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  io.stop = pt::Interrupted;
  RunStartedJob(dlg_, io, [this] { AfterTick(); });
  progress_.Finish();
  return true;
}

LoggerSession::Result LoggerSession::Run(const pt::JobInputs& in) {
  Result result;
  pt::CatchInterrupt();
  if (!RunJob(in)) {
    SayPortFailure();
    result.status = kExitPort;
    return result;
  }
  if (pt::Interrupted()) {
    device_.Close();
    Say("interrupted: the job was stopped between two commands; no file was written");
    result.status = kExitInterrupted;
    return result;
  }
  // The readout ends with the last sample, before anything is written.
  result.endedAt = pt::GetZonedTimeNow();
  result.report = pt::ReadJobReport(dlg_, in.request);
  result.status = SayOutcome(result.report);
  const pt::JobOutcome& outcome = result.report.outcome;
  result.ended = outcome.kind == pt::Outcome::Succeeded || outcome.report != pt::ReportResult::NotAsked;
  return result;
}

pt::season::ClockReading LoggerSession::CheckLoggerClock(const pt::JobInputs& line, bool warnIfOff) {
  pt::season::ClockReading reading;
  pt::JobInputs in;
  in.request = pt::ReadClockJob;
  in.baud = line.baud;
  const bool opened = RunJob(in);
  // The reply came a tick or two ago at most; the clocks are compared to the second.
  reading.pc = pt::GetZonedTimeNow().local;
  const pt::JobReport report = pt::ReadJobReport(dlg_, pt::ReadClockJob);
  const pt::JobOutcome& outcome = report.outcome;
  std::string why;
  if (!opened) {
    why = "the port could not be opened";
  } else if (outcome.kind != pt::Outcome::Succeeded) {
    const std::string english = ReadOutcome(outcome, device_.Path(), sink_.Path()).english;
    why = outcome.message[0] != '\0' ? text_.ToTerminal(outcome.message) + " (" + english + ")" : english;
  } else {
    reading.logger = pt::season::ParseLoggerClock(report.reply);
    if (!reading.logger) why = "the reply \"" + text_.ToTerminal(report.reply) + "\" is not a time YYYYMMDDhhmmss";
  }
  if (!reading.logger) {
    Say("warning: the logger's clock could not be read: " + why);
    return reading;
  }
  pt::Print(stdout, "clock: %s\n", pt::season::ClockComparison(reading).c_str());
  std::fflush(stdout);
  const long long offset = pt::season::ClockOffsetSeconds(*reading.logger, reading.pc);
  if (warnIfOff && (offset > pt::season::kClockWarningSeconds || -offset > pt::season::kClockWarningSeconds)) {
    Say("warning: the logger's clock is " + pt::season::ClockDifferenceText(offset) +
        " against this PC's: if the PC is right, every hour of this season is dated that far off. Date the report "
        "from the hour the logger really started, with: paddytherm-cli report ARCHIVE --start YYYYMMDDhhmm; "
        "and set the clock (set-clock --pc) before the next season");
  }
  return reading;
}

}  // namespace cli
