// The pieces of paddytherm-cli on their own: the command line, the calendar, the CSV text, the
// terminal's encoding, the reading of the core's messages, the progress lines, and the event
// loop on a virtual clock.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "civil_calendar.h"
#include "cli_options.h"
#include "console_dialog.h"
#include "control_ids.h"
#include "outcome_reading.h"
#include "job_loop.h"
#include "logger/exchange.h"
#include "logger/jobs.h"
#include "progress_display.h"
#include "report/samples.h"
#include "sample_csv.h"
#include "serial/port.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"
#include "platform/terminal_text.h"
#include "version.h"
#include "app/program_state.h"

namespace cli {
namespace {

using pt::TerminalText;

// Texts as a UTF-8 terminal shows them (plain literals here are Shift-JIS, like the core's).
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

bool Parse(std::vector<const char*> args, CliOptions& opts, std::string& error) {
  return ParseCommandLine(static_cast<int>(args.size()), args.data(), opts, error);
}

TEST(CliOptions, AcceptedCommandLines) {
  struct Case {
    std::vector<const char*> args;
    int job;
    unsigned baud;
    std::string clock, memo, start, dir, csv;
    bool pc, debug;
  };
  const Case cases[] = {
      {{"download", "--port", "/dev/ttyUSB0"}, pt::DownloadJob, 9600, "", "", "", "", "", false, false},
      {{"--port=/dev/x", "--baud", "19200", "download", "--start", "200802291500", "--dir", "d", "--csv=a.csv"},
       pt::DownloadJob, 19200, "", "", "200802291500", "d", "a.csv", false, false},
      {{"set-clock", "20080101000000", "--port", "p"}, pt::SetClockJob, 9600, "20080101000000", "", "", "", "", false, false},
      {{"set-clock", "--pc", "--port", "p"}, pt::SetClockJob, 9600, "", "", "", "", "", true, false},
      {{"set-clock", "abc", "--port", "p"}, pt::SetClockJob, 9600, "abc", "", "", "", "", false, false},
      {{"write-memo", "--port", "p", "--", "-x-"}, pt::WriteMemoJob, 9600, "", "-x-", "", "", "", false, false},
      {{"write-memo", "", "--port", "p"}, pt::WriteMemoJob, 9600, "", "", "", "", "", false, false},
      {{"set-period", "--debug", "--port", "p"}, pt::SetPeriodJob, 9600, "", "", "", "", "", false, true},
      {{"read-clock", "--port", "p", "--baud=9600"}, pt::ReadClockJob, 9600, "", "", "", "", "", false, false},
      {{"read-memo", "--port", "p"}, pt::ReadMemoJob, 9600, "", "", "", "", "", false, false},
      {{"check-memo", "--port", "p"}, pt::CheckMemoJob, 9600, "", "", "", "", "", false, false},
      {{"check-start", "--port", "p"}, pt::CheckStartJob, 9600, "", "", "", "", "", false, false},
      {{"check-pointer", "--port", "p"}, pt::CheckPointerJob, 9600, "", "", "", "", "", false, false},
  };
  for (const Case& c : cases) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse(c.args, o, error)) << c.args[0] << ": " << error;
    EXPECT_EQ(o.jobRequest, c.job) << c.args[0];
    EXPECT_EQ(o.baud, c.baud);
    EXPECT_EQ(o.clock, c.clock);
    EXPECT_EQ(o.memo, c.memo);
    EXPECT_EQ(o.start, c.start);
    EXPECT_EQ(o.dir, c.dir);
    EXPECT_EQ(o.csv, c.csv);
    EXPECT_EQ(o.pcClock, c.pc);
    EXPECT_EQ(o.debugPeriod, c.debug);
  }
}

TEST(CliOptions, RefusedCommandLinesSayWhy) {
  struct Case {
    std::vector<const char*> args;
    const char* reason;
  };
  const Case cases[] = {
      {{}, "no command given"},
      {{"--port", "p"}, "no command given"},
      {{"fetch", "--port", "p"}, "unknown command fetch"},
      {{"download"}, "--port PATH is required"},
      {{"download", "--port"}, "--port needs a value"},
      {{"download", "--port", "p", "--baud", "4800"}, "--baud must be 9600 or 19200, not 4800"},
      {{"download", "--port", "p", "--verbose"}, "unknown option --verbose"},
      {{"read-memo", "--port", "p", "--dir", "d"}, "belong to download"},
      {{"read-memo", "--port", "p", "--pc"}, "--pc belongs to set-clock"},
      {{"read-memo", "--port", "p", "--debug"}, "--debug belongs to set-period"},
      {{"download", "--port", "p", "--start", "20080229150"}, "--start must be YYYYMMDDhhmm"},
      {{"download", "--port", "p", "--dir="}, "--dir needs a directory"},
      {{"set-clock", "--port", "p"}, "set-clock needs either --pc or a time"},
      {{"set-clock", "--pc", "1", "--port", "p"}, "set-clock needs either --pc or a time"},
      {{"write-memo", "--port", "p"}, "write-memo needs the memo TEXT"},
      {{"write-memo", "a", "b", "--port", "p"}, "unexpected argument b"},
      {{"read-clock", "now", "--port", "p"}, "unexpected argument now"},
      {{"report"}, "report needs the FILE"},
      {{"report", "a.ptlog", "--port", "p"}, "no --port"},
      {{"report", "a.ptlog", "--no-archive"}, "belong to download"},
      {{"read-memo", "--port", "p", "--daily", "d.csv"}, "belong to download and report"},
      {{"report", "a.ptlog", "--from", "2008-02-30"}, "--from must be YYYY-MM-DD"},
      {{"compare", "--season", "c.html"}, "compare needs the FILEs"},
      {{"compare", "a.ptlog", "b.ptlog"}, "compare needs --season OUT.html, --daily OUT.csv or both"},
      {{"compare", "a.ptlog", "--season", "c.html", "--port", "p"}, "no --port"},
      {{"compare", "a.ptlog", "--season", "c.html", "--dir", "d"}, "not compare"},
      {{"compare", "a.ptlog", "--season", "c.html", "--by", "year"}, "--by must be date or day, not \"year\""},
      {{"compare", "a.ptlog", "--season", "c.html", "--milestones", "1000,500"}, "--milestones must be rising"},
      {{"compare", "a.ptlog", "--season", "c.html", "--milestones", "500,,1000"}, "--milestones must be rising"},
      {{"report", "a.ptlog", "--season", "c.html", "--by", "day"}, "--by and --milestones belong to compare"},
  };
  for (const Case& c : cases) {
    CliOptions o;
    std::string error;
    EXPECT_FALSE(Parse(c.args, o, error)) << c.reason;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.reason << " / " << error;
  }
  CliOptions o;
  std::string error;
  EXPECT_TRUE(Parse({"--help"}, o, error));
  EXPECT_TRUE(o.help);
  // --version needs no command, and wins over one given with it. The numbers, not the macros'
  // names, must be spelt.
  const std::string version = "paddytherm-cli " + std::to_string(PT_VERSION_MAJOR) + "." +
                              std::to_string(PT_VERSION_MINOR) + "." + std::to_string(PT_VERSION_PATCH);
  for (const std::vector<const char*>& args :
       {std::vector<const char*>{"--version"}, {"read-memo", "--version"}, {"--version", "fetch"}}) {
    CliOptions v;
    EXPECT_TRUE(Parse(args, v, error)) << args.back() << ": " << error;
    EXPECT_EQ(v.version, version) << args.back();
  }
}

TEST(CliOptions, CompareTakesItsFilesAndItsOwnOptions) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"compare", "a.ptlog", "b/tavovalu.html", "c.ptlog", "--season", "c.html", "--by", "day",
                     "--milestones", "300,650.5", "--from", "2008-05-10", "--daily", "d.csv"},
                    o, error))
      << error;
  EXPECT_EQ(o.command, "compare");
  EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.ptlog", "b/tavovalu.html", "c.ptlog"}));
  EXPECT_TRUE(o.byDay);
  EXPECT_EQ(o.milestones, (std::vector<double>{300.0, 650.5}));
  EXPECT_EQ(o.seasonPage, "c.html");
  EXPECT_EQ(o.daily, "d.csv");
  CliOptions defaults;
  ASSERT_TRUE(Parse({"compare", "a.ptlog", "--season", "c.html"}, defaults, error)) << error;
  EXPECT_FALSE(defaults.byDay);
  EXPECT_EQ(defaults.milestones, (std::vector<double>{500.0, 1000.0, 1500.0}));
}

TEST(CliOptions, SpecialStartMustBeARealMinuteFrom2000To2099) {
  const struct {
    const char* text;
    bool ok;
  } cases[] = {
      {"200804141500", true},  {"200002290000", true},  {"200802292359", true},
      {"190002280000", false}, {"199912312300", false}, {"200902291500", false},
      {"210002290000", false}, {"200804312300", false}, {"200813010000", false},
      {"200800010000", false}, {"200804142400", false}, {"200804141560", false},
      {"20080414150", false},  {"2008041415000", false}, {"2008041415a0", false},
      {" 00804141500", false}, {"209912312359", true}, {"210003010000", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidSpecialStart(c.text), c.ok) << c.text;
}

TEST(CivilCalendar, HoursRunOnThroughMonthsLeapDaysAndYears) {
  const struct {
    CivilHour from;
    long long hours;
    CivilHour to;
  } cases[] = {
      {{2008, 2, 28, 23}, 1, {2008, 2, 29, 0}},
      {{2009, 2, 28, 23}, 1, {2009, 3, 1, 0}},
      {{2000, 2, 28, 12}, 24, {2000, 2, 29, 12}},
      {{1900 + 200, 2, 28, 12}, 24, {2100, 3, 1, 12}},
      {{2008, 12, 31, 22}, 3, {2009, 1, 1, 1}},
      {{2008, 4, 14, 6}, 9999, {2009, 6, 4, 21}},
      {{2008, 4, 30, 0}, 0, {2008, 4, 30, 0}},
  };
  for (const auto& c : cases) {
    const CivilHour h = AddHours(c.from, c.hours);
    EXPECT_EQ(h.year, c.to.year) << c.hours;
    EXPECT_EQ(h.month, c.to.month) << c.hours;
    EXPECT_EQ(h.day, c.to.day) << c.hours;
    EXPECT_EQ(h.hour, c.to.hour) << c.hours;
  }
  EXPECT_FALSE(IsRealHour({2008, 2, 30, 0}));
  EXPECT_FALSE(IsRealHour({2008, 13, 1, 0}));
  EXPECT_FALSE(IsRealHour({2008, 1, 1, 24}));
  EXPECT_TRUE(IsRealHour({2008, 2, 29, 23}));
}

TEST(SampleCsv, RowsAreByteExactAndRoundLikeTheReport) {
  // Upper halves are ignored; bit 14 alone stars; 25.25 and 25.0625 round up, 25.125 down.
  const std::uint32_t words[] = {0x12340190, 0x4194, 0xC194, 0x3194, 0x0FFF, 0x0192, 0x0191, 0x0000};
  EXPECT_EQ(FormatSampleCsv({2008, 12, 31, 22}, words, 8),
            "time,temperature_c,no_water\n"
            "2008-12-31T22:00:00,25.0,0\n"
            "2008-12-31T23:00:00,25.3,1\n"
            "2009-01-01T00:00:00,25.3,0\n"
            "2009-01-01T01:00:00,25.3,0\n"
            "2009-01-01T02:00:00,255.9,0\n"
            "2009-01-01T03:00:00,25.1,0\n"
            "2009-01-01T04:00:00,25.1,0\n"
            "2009-01-01T05:00:00,0.0,0\n");
  EXPECT_EQ(FormatSampleCsv({2008, 1, 1, 0}, words, 0), "time,temperature_c,no_water\n");
}

TEST(SampleCsv, StartHourComesFromTheReportsDecodingAndLeavesItsState) {
  pt::Report = pt::ReportState{};
  pt::Report.Date = {1999, 9, 9, 9};
  CivilHour h;
  EXPECT_TRUE(ReportStartHour("STR:200804142215", h));
  EXPECT_EQ(h.year, 2008);
  EXPECT_EQ(h.month, 4);
  EXPECT_EQ(h.day, 14);
  EXPECT_EQ(h.hour, 22);
  EXPECT_EQ(pt::Report.Date.year, 1999) << "the report's own date is left alone";
  EXPECT_FALSE(ReportStartHour("STR:19990414221", h)) << "15 bytes";
  EXPECT_FALSE(ReportStartHour("STR:200804142415", h));
}

TEST(TerminalText, ShiftJisToUtf8AndBack) {
  TerminalText utf8("UTF-8");
  struct Case {
    std::string sjis, shown;
  };
  const Case cases[] = {
      {"\xB4\xD7\xB0", U8(u8"ｴﾗｰ")},
      {"\x90\xB3\x8F\xED\x82\xC8\x89\x9E\x93\x9A", U8(u8"正常な応答")},
      {"PADDY\\A~", "PADDY\\A~"},          // CP932 keeps the backslash and the tilde
      {"a\x1b[2Jb\r\n\x7f", "a?[2Jb???"},  // control bytes never reach the terminal
      {"x\x82", "x?"},                     // a lead byte without its trail
      {"\xFF\xFE", "??"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf8.ToTerminal(c.sjis), c.shown) << c.shown;

  std::string sjis;
  EXPECT_TRUE(utf8.FromTerminal(U8(u8"田んぼA-2"), sjis));
  EXPECT_EQ(sjis, "\x93\x63\x82\xF1\x82\xDA" "A-2");
  EXPECT_FALSE(utf8.FromTerminal("\xF0\x9F\x98\x80", sjis)) << "an emoji has no Shift-JIS";
  EXPECT_FALSE(utf8.FromTerminal("\xC3", sjis)) << "broken UTF-8";

  TerminalText unknown("NO-SUCH-CODESET");
  EXPECT_TRUE(unknown.FromTerminal("PADDY 1", sjis));
  EXPECT_EQ(sjis, "PADDY 1");
  EXPECT_FALSE(unknown.FromTerminal("\xE7\x94\xB0", sjis));
  EXPECT_EQ(unknown.ToTerminal("OK \xB4\xD7\xB0\x01"), "OK ????");

  TerminalText ascii("ANSI_X3.4-1968");
  EXPECT_EQ(ascii.ToTerminal("OK \xB4\xD7\xB0"), "OK ???");
  EXPECT_FALSE(ascii.FromTerminal("\xE7\x94\xB0", sjis));
  EXPECT_TRUE(ascii.FromTerminal("ABC", sjis));
  EXPECT_EQ(sjis, "ABC");
}

TEST(OutcomeReading, EachOutcomeOfTheCoreHasItsStatus) {
  using pt::Outcome;
  using pt::ReportResult;
  struct Case {
    Outcome kind;
    ReportResult report;
    ExitStatus status;
    const char* english;  // part of it
  };
  const Case cases[] = {
      {Outcome::Succeeded, ReportResult::Written, kExitOk, ""},
      {Outcome::Port, ReportResult::NotAsked, kExitPort, "cannot send the command to /dev/x"},
      {Outcome::NoReply, ReportResult::NotAsked, kExitNoReply, "no proper reply from the logger on /dev/x"},
      {Outcome::Refused, ReportResult::NotAsked, kExitRefused, "refused"},
      {Outcome::BadInput, ReportResult::NotAsked, kExitBadInput, "14 characters"},
      {Outcome::File, ReportResult::NotCreated, kExitFile, "cannot create r.html"},
      {Outcome::File, ReportResult::WriteFailed, kExitFile, "writing r.html failed; the earlier one is kept"},
      {Outcome::BadData, ReportResult::BadStamp, kExitData, "no report written, r.html is as it was"},
      {Outcome::BadData, ReportResult::NotAsked, kExitData, "no report written"},
      {Outcome::None, ReportResult::NotAsked, kExitOther, "without saying"},
  };
  for (const Case& c : cases) {
    const OutcomeReading r = ReadOutcome({c.kind, "", c.report}, "/dev/x", "r.html");
    EXPECT_EQ(r.status, c.status) << c.english;
    EXPECT_NE(r.english.find(c.english), std::string::npos) << r.english;
  }
}

TEST(Progress, PlainLinesEveryTenthAndTheBar) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  ProgressDisplay plain(out, false);
  for (int done = 0; done <= 25; ++done) plain.Update(done, 25, 1000 + done * 100);
  plain.Finish();
  std::fclose(out);
  const std::string lines(text, size);
  std::free(text);
  EXPECT_EQ(lines,
            "3/25 samples (12%), 10.0 samples/s, 0:02 left\n"
            "5/25 samples (20%), 10.0 samples/s, 0:02 left\n"
            "8/25 samples (32%), 10.0 samples/s, 0:02 left\n"
            "10/25 samples (40%), 10.0 samples/s, 0:02 left\n"
            "13/25 samples (52%), 10.0 samples/s, 0:01 left\n"
            "15/25 samples (60%), 10.0 samples/s, 0:01 left\n"
            "18/25 samples (72%), 10.0 samples/s, 0:01 left\n"
            "20/25 samples (80%), 10.0 samples/s, 0:01 left\n"
            "23/25 samples (92%), 10.0 samples/s, 0:00 left\n"
            "25/25 samples (100%), 10.0 samples/s, 0:00 left\n");
  EXPECT_EQ(FormatProgressBar(500, 2000, 62.5, 20),
            "   500/2000   [#####---------------]  25%  62.5 samples/s  0:24 left");
  EXPECT_EQ(FormatDuration(0), "0:00");
  EXPECT_EQ(FormatDuration(59.4), "0:59");
  EXPECT_EQ(FormatDuration(3599.6), "1:00:00");
  EXPECT_EQ(FormatDuration(-1), "--:--");
}

TEST(Progress, ExtremeCountsNeverOverflowAndUnusableOnesShowNothing) {
  struct Case {
    int done, total;
    const char* line;  // the plain line shown; "" for none
  };
  const Case cases[] = {
      {5, 0, ""},
      {5, -3, ""},
      {INT_MAX, INT_MIN, ""},
      {INT_MIN, INT_MAX, ""},
      {1, 10001, ""},
      {INT_MAX, 10000, "10000/10000 samples (100%), "},  // kept at the nearer end
      {INT_MIN, 10000, ""},                               // at 0: not a tenth yet
      {-1, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.done) + "/" + std::to_string(c.total));
    for (bool terminal : {false, true}) {
      char* text = nullptr;
      std::size_t size = 0;
      std::FILE* out = open_memstream(&text, &size);
      ProgressDisplay display(out, terminal);
      display.Update(c.done, c.total, INT_MAX);
      display.Update(c.done, c.total, 0);
      display.Finish();
      std::fclose(out);
      const std::string shown(text, size);
      std::free(text);
      if (!terminal) {
        EXPECT_EQ(shown.substr(0, std::strlen(c.line)), c.line);
        EXPECT_EQ(shown.empty(), c.line[0] == '\0') << shown;
      } else if (c.total <= 0 || c.total > 10000) {
        EXPECT_EQ(shown, "");
      }
    }
    const std::string bar = FormatProgressBar(c.done, c.total, 1e300, INT_MAX);
    EXPECT_EQ(bar.empty(), c.total <= 0 || c.total > 10000) << bar;
    EXPECT_LE(bar.size(), 250u);
  }
}

// The loop on a virtual clock: the waits it asks for, the ticks it spends, the timer it fires.
class JobLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    pt::ResetProgramState();
    dlg_.ComboSetCurSel(IDC_PORT_COMBO, 0);
    dlg_.CheckRadioButton(IDC_SPEED_9600, IDC_SPEED_19200, IDC_SPEED_9600);
    // A loop that stops waiting would never move the virtual clock: fail instead of hanging.
    io_.now = [this] {
      if (++nowCalls_ > 1000000) throw std::runtime_error("the loop spins without waiting");
      return static_cast<long long>(clock_.now);
    };
    io_.waitReadable = [this](int ms) {
      waits_.push_back(ms);
      // Like poll: wake at the first arrival within the time, else at its end.
      for (int i = 0; i < ms; ++i) {
        std::uint32_t n = 0;
        if (device_.WaitingCount(n) && n > 0) return true;
        ++clock_.now;
      }
      return true;
    };
  }

  pt::test::FakeDialog clock_;  // only its virtual time
  pt::test::ScriptedDevice device_{&clock_};
  pt::ScopedPortDevice installDevice_{&device_};
  ConsoleDialog dlg_{[this] { return static_cast<long long>(clock_.now); }};
  LoopIo io_;
  std::vector<int> waits_;
  long long nowCalls_ = 0;
};

TEST_F(JobLoop, AReplyIsTakenWhenItArrivesNotAtTheTickPace) {
  device_.ReplyTo("Rpt\r", "\n2400\r", 23);
  pt::StartJob(dlg_, pt::CheckPointerJob);
  const long long ticks = RunStartedJob(dlg_, io_, nullptr);
  EXPECT_EQ(dlg_.Text(IDC_POINTER_REPLY), "2400");
  EXPECT_EQ(clock_.now, 23) << "no time spent beyond the reply's own";
  EXPECT_EQ(waits_, (std::vector<int>{1000})) << "one wait, bounded by the reply timer";
  // select, arm, send, see the CR, accept, end, close
  EXPECT_EQ(ticks, 7);
  EXPECT_FALSE(device_.IsOpen()) << "the tick after the end closed the port";
  EXPECT_EQ(device_.Wire(), "Rpt\r");
}

TEST_F(JobLoop, ASilentLoggerGetsOneResendAfterExactlyASecond) {
  pt::StartJob(dlg_, pt::ReadClockJob);
  std::vector<std::int64_t> sendTimes;
  std::size_t seen = 0;
  RunStartedJob(dlg_, io_, [&] {
    if (device_.writes.size() > seen) {
      seen = device_.writes.size();
      sendTimes.push_back(clock_.now);
    }
  });
  EXPECT_EQ(device_.Wire(), "Cget\rCget\r");
  EXPECT_EQ(sendTimes, (std::vector<std::int64_t>{0, 1000}));
  EXPECT_EQ(clock_.now, 2000);
  EXPECT_EQ(waits_, (std::vector<int>{1000, 1000})) << "the loop never spins while it waits";
  EXPECT_EQ(dlg_.Text(IDC_CLOCK_REPLY), "");
  EXPECT_FALSE(device_.IsOpen());
}

TEST_F(JobLoop, ARefusalUsesTheResendAndEndsTheJob) {
  device_.ReplyTo("Calm2\r", "\nNG\r", 5);
  std::vector<std::string> messages;
  dlg_.SetMessageHandler([&](const char* text, const char*, pt::BoxOwner) { messages.push_back(text); });
  pt::StartJob(dlg_, pt::SetPeriodJob);
  RunStartedJob(dlg_, io_, nullptr);
  EXPECT_EQ(device_.Wire(), "Calm2\rCalm2\r");
  EXPECT_EQ(clock_.now, 10);
  EXPECT_EQ(messages, (std::vector<std::string>{"正常な応答がありません"}));
  EXPECT_STREQ(pt::Jobs.ReplyBuffer, "\nNG\r");
}

TEST_F(JobLoop, APortThatDoesNotOpenEndsAtOnce) {
  device_.openError = 2;
  std::vector<std::string> captions;
  dlg_.SetMessageHandler([&](const char*, const char* caption, pt::BoxOwner) { captions.push_back(caption); });
  pt::StartJob(dlg_, pt::ReadMemoJob);
  EXPECT_EQ(RunStartedJob(dlg_, io_, nullptr), 0);
  EXPECT_EQ(captions, (std::vector<std::string>{"Error"}));
  EXPECT_TRUE(waits_.empty());
}

}  // namespace
}  // namespace cli
