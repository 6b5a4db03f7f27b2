#include "commands/jobs.h"

#include <cstdio>
#include <string>

#include "commands/logger_session.h"
#include "outcome_reading.h"
#include "platform/console_out.h"
#include "logger/messages.h"
#include "report/samples.h"
#include "say.h"

namespace cli {

namespace {

struct JobRow {
  const char* name;
  int request;
  const char* description;
};

constexpr JobRow kJobs[] = {
    {"set-clock", pt::SetClockJob,
     "set the logger's clock to the given time YYYYMMDDhhmmss (14 digits), or with --pc from this "
     "computer's local time (after telling how far it was off)"},
    {"write-memo", pt::WriteMemoJob, "write the memo TEXT (up to 16 bytes in Shift-JIS, a Japanese character taking 2; padded with spaces)"},
    {"set-period", pt::SetPeriodJob, "choose the regular measurement period, or with --debug the debugging one"},
    {"read-clock", pt::ReadClockJob, "print the logger's clock"},
    {"read-memo", pt::ReadMemoJob, "print the memo"},
    {"check-memo", pt::CheckMemoJob, "print the memo (as the download half of the dialog reads it)"},
    {"check-start", pt::CheckStartJob, "print the start record"},
    {"check-pointer", pt::CheckPointerJob, "print the number of stored samples"},
};

constexpr std::size_t kMemoBytes = 16;

// A byte that would act on the line or the logger instead of being text: below 0x20, and DEL.
bool HasControlByte(const std::string& text) {
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) return true;
  }
  return false;
}

// The job's inputs in Shift-JIS, checked before the port is opened; false once the reason is said.
bool MakeInputs(const JobOptions& opts, const pt::TerminalText& text, LoggerSession& session, pt::JobInputs& in) {
  in.request = opts.request;
  in.baud = opts.line.baud;
  in.pcClock = opts.pcClock;
  in.debugPeriod = opts.debugPeriod;
  if (!text.FromTerminal(opts.clock, in.clockSjis)) {
    Say("the clock text is not valid in this terminal's encoding");
    return false;
  }
  // A typed clock is checked here, before the port is opened; the core checks it again later.
  if (opts.request == pt::SetClockJob && !opts.pcClock &&
      (in.clockSjis.size() != 14 || !pt::IsRealTimeText(in.clockSjis.c_str(), 14))) {
    const OutcomeReading r = ReadOutcome({pt::Outcome::BadInput, pt::kBadClockText, pt::ReportResult::NotAsked},
                                         session.PortPath(), session.ReportPath());
    Say(text.ToTerminal(pt::kBadClockText) + " (" + r.english + ")");
    return false;
  }
  if (HasControlByte(opts.memo)) {
    Say("the memo holds a control character (CR, LF, TAB, ESC...), which the logger would take as a command");
    return false;
  }
  if (!text.FromTerminal(opts.memo, in.memoSjis) || HasControlByte(in.memoSjis)) {
    Say("the memo holds characters that Shift-JIS cannot write");
    return false;
  }
  // The logger keeps 16 bytes; a memo cut there would lose its end, or split a character.
  if (in.memoSjis.size() > kMemoBytes) {
    Say("the memo is " + std::to_string(in.memoSjis.size()) + " bytes in Shift-JIS, and the logger keeps " +
        std::to_string(kMemoBytes) + " (a Japanese character takes 2): shorten it");
    return false;
  }
  return true;
}

void PrintReply(const JobOptions& opts, const LoggerSession& session, const pt::JobReport& report) {
  switch (opts.request) {
    case pt::SetClockJob: pt::Print(stdout, "clock set to %s\n", session.Shown(report.reply).c_str()); break;
    case pt::WriteMemoJob: pt::Print(stdout, "memo written: \"%s\"\n", session.Shown(report.reply).c_str()); break;
    case pt::SetPeriodJob:
      pt::Print(stdout, "period set: %s\n", opts.debugPeriod ? "debugging (Calm1)" : "regular (Calm2)");
      break;
    default: pt::Print(stdout, "%s\n", session.Shown(report.reply).c_str()); break;
  }
  std::fflush(stdout);
}

}  // namespace

void JobCommands::Register(CLI::App& app) {
  for (const JobRow& row : kJobs) {
    CLI::App* sub = app.add_subcommand(row.name, row.description);
    AddLineOptions(*sub, options.line);
    switch (row.request) {
      case pt::SetClockJob:
        sub->add_option("time", options.clock, "the time to set, YYYYMMDDhhmmss")->option_text("YYYYMMDDhhmmss");
        sub->add_flag("--pc", options.pcClock, "set the clock from this computer's local time");
        break;
      case pt::WriteMemoJob:
        sub->add_option("text", options.memo, "the memo (\"\" for a blank one)")->option_text("TEXT");
        break;
      case pt::SetPeriodJob:
        sub->add_flag("--debug", options.debugPeriod, "the debugging period (Calm1) instead of the regular one");
        break;
      default: break;
    }
    subs_.push_back({sub, row.request});
  }
}

bool JobCommands::Select(const CLI::App& given) {
  for (const Sub& s : subs_) {
    if (s.app == &given) {
      selected_ = s.app;
      options.request = s.request;
      return true;
    }
  }
  return false;
}

bool JobCommands::Check(std::string& error) {
  if (!CheckLineOptions(options.line, error)) return false;
  if (options.request == pt::SetClockJob && options.pcClock == (selected_->get_option("time")->count() > 0)) {
    error = "set-clock needs either --pc or a time YYYYMMDDhhmmss";
    return false;
  }
  if (options.request == pt::WriteMemoJob && selected_->get_option("text")->count() == 0) {
    error = "write-memo needs the memo TEXT (\"\" for a blank memo)";
    return false;
  }
  return true;
}

int JobCommands::Run(const pt::TerminalText& text) {
  LoggerSession session(options.line.port, "", false, text);
  pt::JobInputs in;
  if (!MakeInputs(options, text, session, in)) return kExitBadInput;
  // How far off the clock was is worth knowing before it is set right.
  if (options.request == pt::SetClockJob && options.pcClock) session.CheckLoggerClock(in, false);
  const LoggerSession::Result run = session.Run(in);
  if (run.ended) PrintReply(options, session, run.report);
  return run.status;
}

}  // namespace cli
