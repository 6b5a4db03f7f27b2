// paddytherm-cli end to end: the built program against the simulated logger on a pseudo-terminal.
// What is checked is what a user or a script sees: the bytes on the wire, the replies on stdout,
// the messages on stderr, the exit status, and files byte for byte.
#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli_process.h"
#include "report/html_report.h"
#include "report/samples.h"
#include "season/io/archive.h"
#include "sim_child.h"
#include "support/fake_dialog.h"
#include "version.h"

namespace cli::test {
namespace {

const std::vector<std::string> kUtf8 = {"LANG=C.UTF-8", "LC_ALL=C.UTF-8"};

// Texts as a UTF-8 terminal shows them (plain literals here are Shift-JIS, like the core's).
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The names in `dir`, for telling that no temporary file was left.
std::set<std::string> Names(const std::string& dir) {
  std::set<std::string> names;
  const Finished ls = RunProgram("/bin/ls", {"-A", dir}, {}, 5000);
  std::istringstream in(ls.out);
  for (std::string name; std::getline(in, name);) names.insert(name);
  return names;
}

// Last season's report: Shift-JIS bytes, as the program wrote it a year ago.
const std::string kLastSeason = "<html>\x90\x85\x89\xB7 2007</html>\n";

std::string LocalStamp(time_t t) {
  tm parts{};
  localtime_r(&t, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &parts);
  return text;
}

// A download's stdout without its "clock:" line, whose times are the moment's.
std::string WithoutClockLine(std::string out) {
  const auto at = out.find("clock: logger ");
  if (at != std::string::npos) out.erase(at, out.find('\n', at) + 1 - at);
  return out;
}

class CliSim : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pt-cli-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    tty_ = dir_ + "/tty";
  }

  void TearDown() override {
    sim_.Stop();
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }

  void StartSim(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--link", tty_, "--transcript", dir_ + "/transcript",
                                     "--dump-words", dir_ + "/words", "--exit-after", "120"};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(sim_.Start(PT_LOGGER_SIM_PATH, args, 5000)) << "the simulator did not start";
  }

  Finished Cli(std::vector<std::string> args, int timeoutMs = 30000) {
    return RunProgram(PT_CLI_PATH, args, kUtf8, timeoutMs);
  }

  // The command lines the simulator received, as its transcript escapes them, without times.
  std::vector<std::string> Wire() {
    std::vector<std::string> lines;
    std::ifstream in(dir_ + "/transcript");
    for (std::string line; std::getline(in, line);) {
      const auto space = line.find(' ');
      lines.push_back(space == std::string::npos ? line : line.substr(space + 1));
    }
    return lines;
  }

  std::vector<long long> WireTimes() {
    std::vector<long long> times;
    std::ifstream in(dir_ + "/transcript");
    for (std::string line; std::getline(in, line);) times.push_back(std::atoll(line.c_str()));
    return times;
  }

  std::vector<std::uint32_t> DumpedWords() {
    std::vector<std::uint32_t> words;
    std::ifstream in(dir_ + "/words");
    for (std::string line; std::getline(in, line);) words.push_back(std::stoul(line, nullptr, 16));
    return words;
  }

  // The report the core's own writer makes from the words the simulator served.
  std::string ExpectedReport(const std::string& stamp, const std::vector<std::uint32_t>& words) {
    const std::string expectDir = dir_ + "/expected";
    ::mkdir(expectDir.c_str(), 0755);
    static std::uint32_t table[pt::kSampleTableSize];
    std::fill(std::begin(table), std::end(table), 0u);
    std::copy(words.begin(), words.end(), table);
    pt::Report = pt::ReportState{};
    // The core's own file sink in the current directory, not the console's: the comparison must
    // not share the code it checks.
    char here[4096];
    EXPECT_NE(::getcwd(here, sizeof here), nullptr);
    EXPECT_EQ(::chdir(expectDir.c_str()), 0);
    pt::SetReportSink(nullptr);
    pt::test::FakeDialog owner;
    pt::WriteReport(owner, stamp.c_str(), std::to_string(words.size()).c_str(), table);
    EXPECT_EQ(::chdir(here), 0);
    EXPECT_TRUE(owner.boxes.empty()) << "the expected report itself failed";
    return ReadFile(expectDir + "/tavovalu.html");
  }

  std::string dir_, tty_;
  sim::SimChild sim_;
};

// The CSV as the words say it should be, worked out apart from the program: the calendar from
// the C library, the rounding in integer sixteenths.
std::string ExpectedCsv(int year, int month, int day, int hour, const std::vector<std::uint32_t>& words) {
  std::string out = "time,temperature_c,no_water,offset_c\n";
  for (std::size_t i = 0; i < words.size(); ++i) {
    tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour + static_cast<int>(i);
    const time_t when = timegm(&t);
    tm at{};
    gmtime_r(&when, &at);
    const unsigned w = words[i] & 0xFFFF;
    const unsigned sixteenths = ((w >> 4) & 0xFF) * 16 + (w & 0xF);
    const unsigned tenths = (sixteenths * 10 + 8) / 16;  // half up
    const int starred = (w & 0xC000) == 0x4000 ? 1 : 0;
    char line[80];
    std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:00,%u.%u,%d,0.0\n", at.tm_year + 1900, at.tm_mon + 1,
                  at.tm_mday, at.tm_hour, tenths / 10, tenths % 10, starred);
    out += line;
  }
  return out;
}

TEST_F(CliSim, EverySingleCommandJobOnTheWireAndOnStdout) {
  StartSim({"--samples", "30", "--memo", "PADDY A-1"});
  struct Case {
    std::vector<std::string> args;
    std::string wire;    // the command line the logger received
    std::string stdout_;
  };
  const Case cases[] = {
      {{"read-memo"}, "Rmem\\r", "PADDY A-1       \n"},
      {{"check-memo"}, "Rmem\\r", "PADDY A-1       \n"},
      {{"check-start"}, "Rstr\\r", "STR:200804140600\n"},
      {{"check-pointer"}, "Rpt\\r", "30\n"},
      {{"set-period"}, "Calm2\\r", "period set: regular (Calm2)\n"},
      {{"set-period", "--debug"}, "Calm1\\r", "period set: debugging (Calm1)\n"},
      {{"set-clock", "20080229235959"}, "Cset20080229235959\\r", "clock set to 20080229235959\n"},
      {{"write-memo", U8(u8"田んぼA-2")}, "Wmem\\x93c\\x82\\xF1\\x82\\xDAA-2       \\r", U8(u8"memo written: \"田んぼA-2       \"\n")},
      {{"read-memo", "--baud", "19200"}, "Rmem\\r", U8(u8"田んぼA-2       \n")},
      {{"write-memo", "PADDY A-1 NORTH!"}, "WmemPADDY A-1 NORTH!\\r", "memo written: \"PADDY A-1 NORTH!\"\n"},
      {{"write-memo", ""}, "Wmem                \\r", "memo written: \"                \"\n"},
  };
  std::size_t sent = 0;
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--port", tty_});
    const Finished f = Cli(args);
    EXPECT_EQ(f.status, 0) << c.args[0] << ": " << f.err;
    EXPECT_EQ(f.out, c.stdout_) << c.args[0];
    EXPECT_EQ(f.err, "") << c.args[0];
    const auto wire = Wire();
    ASSERT_EQ(wire.size(), sent + 1) << c.args[0] << ": one command, sent once";
    EXPECT_EQ(wire.back(), c.wire) << c.args[0];
    sent = wire.size();
  }
}

TEST_F(CliSim, ClockFromThePcAndReadBack) {
  StartSim({});
  const std::string before = LocalStamp(time(nullptr));
  Finished f = Cli({"set-clock", "--pc", "--port", tty_});
  const std::string after = LocalStamp(time(nullptr));
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_EQ(Wire().size(), 2u);
  EXPECT_EQ(Wire().front(), "Cget\\r") << "the clock is read before it is set";
  const std::string wire = Wire().back();
  ASSERT_EQ(wire.size(), 4u + 14u + 2u) << wire;
  const std::string sentClock = wire.substr(4, 14);
  EXPECT_GE(sentClock, before);
  EXPECT_LE(sentClock, after);
  const auto set = f.out.find("clock set to " + sentClock + "\n");
  ASSERT_NE(set, std::string::npos) << f.out;
  EXPECT_EQ(f.out.rfind("clock: logger ", 0), 0u) << f.out;

  f = Cli({"read-clock", "--port", tty_});
  ASSERT_EQ(f.status, 0) << f.err;
  ASSERT_EQ(f.out.size(), 15u) << f.out;
  EXPECT_GE(f.out.substr(0, 14), sentClock) << "the logger's clock runs on from the set";
  EXPECT_LE(f.out.substr(0, 14), LocalStamp(time(nullptr)));
}

TEST_F(CliSim, DownloadMakesTheCoresReportAndAMatchingCsv) {
  StartSim({"--samples", "75", "--start", "200804142100"});
  const std::string out = dir_ + "/out";
  ::mkdir(out.c_str(), 0755);
  const Finished f = Cli({"download", "--port", tty_, "--dir", out, "--csv", out + "/season.csv", "--no-archive"});
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_EQ(WithoutClockLine(f.out), "memo: PADDY A-1       \nstart: STR:200804142100\npointer: 75\nreport: " + out +
                                         "/tavovalu.html\ncsv: " + out + "/season.csv\n");
  const auto words = DumpedWords();
  ASSERT_EQ(words.size(), 75u);
  EXPECT_EQ(ReadFile(out + "/tavovalu.html"), ExpectedReport("STR:200804142100", words));
  EXPECT_EQ(ReadFile(out + "/season.csv"), ExpectedCsv(2008, 4, 14, 21, words));

  const auto wire = Wire();
  ASSERT_EQ(wire.size(), 3u + 75u + 1u);
  EXPECT_EQ(wire.back(), "Cget\\r") << "the clock, once, after the last sample";
  EXPECT_EQ(wire[0], "Rmem\\r");
  EXPECT_EQ(wire[1], "Rstr\\r");
  EXPECT_EQ(wire[2], "Rpt\\r");
  for (int i = 0; i < 75; ++i) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "Rdt%04d\\r", i);
    EXPECT_EQ(wire[3 + i], expected);
  }
  // Not a terminal: plain progress lines, the last at the end of the samples.
  EXPECT_NE(f.err.find("75/75 samples (100%)"), std::string::npos) << f.err;
  EXPECT_EQ(f.err.find('\r'), std::string::npos);
}

// The logger's clock is read once after the last sample and kept in the archive; how far it is
// off is told, and warned of past ten minutes, but never fails the download.
TEST_F(CliSim, TheLoggersClockAtReadoutIsToldAndArchived) {
  struct Case {
    const char* name;
    long long aheadSeconds;          // the simulator's clock against this PC's
    std::vector<std::string> sim;
    std::string warning;             // part of stderr; "" for none at all
    std::vector<std::string> tail;   // the last command lines on the wire
  };
  const Case cases[] = {
      {"25 minutes fast", 1500, {}, " fast against this PC's: if the PC is right", {"Rdt0009\\r", "Cget\\r"}},
      {"2 minutes slow", -120, {}, "", {"Rdt0009\\r", "Cget\\r"}},
      {"no answer to Cget", 0, {"--silent-for", "Cget"}, "warning: the logger's clock could not be read",
       {"Rdt0009\\r", "Cget\\r", "Cget\\r"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim_.Stop();
    ::unlink((dir_ + "/transcript").c_str());
    const std::string out = dir_ + "/" + std::to_string(&c - cases);
    ::mkdir(out.c_str(), 0755);
    std::vector<std::string> sim = {"--samples", "10", "--clock", LocalStamp(time(nullptr) + c.aheadSeconds)};
    sim.insert(sim.end(), c.sim.begin(), c.sim.end());
    StartSim(sim);
    const Finished f = Cli({"download", "--port", tty_, "--dir", out, "--no-progress"});
    EXPECT_EQ(f.status, 0) << f.err;
    if (c.warning.empty()) {
      EXPECT_EQ(f.err, "");
    } else {
      EXPECT_NE(f.err.find(c.warning), std::string::npos) << f.err;
    }
    EXPECT_EQ(ReadFile(out + "/tavovalu.html"), ExpectedReport("STR:200804140600", DumpedWords()));
    const auto wire = Wire();
    ASSERT_GE(wire.size(), c.tail.size());
    EXPECT_EQ(std::vector<std::string>(wire.end() - static_cast<long>(c.tail.size()), wire.end()), c.tail);

    const auto at = f.out.find("archive: ");
    ASSERT_NE(at, std::string::npos) << f.out;
    pt::season::Season season;
    std::string error;
    ASSERT_TRUE(pt::season::ReadArchiveFile(f.out.substr(at + 9, f.out.find('\n', at) - at - 9), &season, &error))
        << error;
    ASSERT_TRUE(season.readout && season.readout->clock);
    const pt::season::ClockReading& clock = *season.readout->clock;
    if (c.aheadSeconds == 0) {
      EXPECT_FALSE(clock.logger);
      EXPECT_EQ(f.out.find("clock:"), std::string::npos) << f.out;
      continue;
    }
    ASSERT_TRUE(clock.logger);
    const long long offset = pt::season::ClockOffsetSeconds(*clock.logger, clock.pc);
    EXPECT_NEAR(static_cast<double>(offset), static_cast<double>(c.aheadSeconds), 2.0);
    // What was printed is what was archived.
    EXPECT_NE(f.out.find("clock: logger " + pt::season::ClockText(*clock.logger) + ", PC " +
                         pt::season::ClockText(clock.pc) + " (logger " + pt::season::ClockDifferenceText(offset) +
                         ")\n"),
              std::string::npos)
        << f.out;
  }
}

TEST_F(CliSim, SpecialStartDatesReportAndCsvAcrossALeapDay) {
  StartSim({"--samples", "40", "--split"});
  const Finished f =
      Cli({"download", "--port", tty_, "--dir", dir_, "--csv", dir_ + "/s.csv", "--start", "200802281500", "--no-progress"});
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_EQ(f.err, "");
  const auto words = DumpedWords();
  ASSERT_EQ(words.size(), 40u);
  // The report keeps its own 28-day February; the CSV is on the real calendar.
  const std::string report = ReadFile(dir_ + "/tavovalu.html");
  EXPECT_EQ(report, ExpectedReport("STR:200802281500", words));
  EXPECT_NE(report.find("<td> 3/1 </td>"), std::string::npos);
  const std::string csv = ReadFile(dir_ + "/s.csv");
  EXPECT_EQ(csv, ExpectedCsv(2008, 2, 28, 15, words));
  EXPECT_NE(csv.find("2008-02-29 00:00,"), std::string::npos);

  // The archive keeps the typed start: rebuilt from it, the report and the CSV are the download's.
  const auto at = f.out.find("archive: ");
  ASSERT_NE(at, std::string::npos) << f.out;
  const std::string again = dir_ + "/again";
  ::mkdir(again.c_str(), 0755);
  const Finished r = Cli({"report", f.out.substr(at + 9, f.out.find('\n', at) - at - 9), "--dir", again, "--csv",
                          again + "/s.csv"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(again + "/tavovalu.html"), report);
  EXPECT_EQ(ReadFile(again + "/s.csv"), csv);
}

// A start record the report refuses: last season's report stays, the readout is archived undated,
// and the archive makes the season's report once its start is given.
TEST_F(CliSim, ARefusedStartKeepsLastSeasonsReportAndArchivesTheReadoutUndated) {
  StartSim({"--samples", "30", "--start", "199904141500"});
  const std::string report = dir_ + "/tavovalu.html";
  WriteBytes(report, kLastSeason);
  const auto before = Names(dir_);
  Finished f = Cli({"download", "--port", tty_, "--dir", dir_, "--csv", dir_ + "/s.csv", "--no-progress"});
  EXPECT_EQ(f.status, 7) << f.err;
  EXPECT_EQ(ReadFile(report), kLastSeason);
  const auto at = f.out.find("archive: ");
  ASSERT_NE(at, std::string::npos) << f.out;
  const std::string archive = f.out.substr(at + 9, f.out.find('\n', at) - at - 9);
  EXPECT_EQ(WithoutClockLine(f.out), "memo: PADDY A-1       \nstart: STR:199904141500\npointer: 30\narchive: " + archive + "\n");
  EXPECT_EQ(f.err, "paddytherm-cli: " + U8(u8"年月日時分のデータが異常") + " (the start record is not a usable date; no "
                   "report written, " + report + " is as it was)\n"
                   "paddytherm-cli: no CSV written: the start record \"STR:199904141500\" is not a usable date\n"
                   "paddytherm-cli: the archive is undated; once the season's start is known, date it with: "
                   "paddytherm-cli report " + archive + " --start YYYYMMDDhhmm\n");
  const std::string version = std::to_string(PT_VERSION_MAJOR) + "." + std::to_string(PT_VERSION_MINOR) + "." +
                              std::to_string(PT_VERSION_PATCH) + "." + std::to_string(PT_VERSION_BUILD);
  EXPECT_EQ(ReadFile(archive).rfind("paddytherm-archive 3\nprogram " + version + "\n", 0), 0u);
  auto after = before;
  after.insert(archive.substr(dir_.size() + 1));
  EXPECT_EQ(Names(dir_), after) << "nothing but the archive is new: no temporary file, no CSV";

  const std::string again = dir_ + "/again";
  ::mkdir(again.c_str(), 0755);
  f = Cli({"report", archive, "--dir", again, "--csv", again + "/s.csv"});
  EXPECT_EQ(f.status, 2);
  EXPECT_EQ(f.err, "paddytherm-cli: " + archive + " is undated: its start record \"STR:199904141500\" gives no start; "
                   "give the season's start with --start YYYYMMDDhhmm\n");
  EXPECT_TRUE(Names(again).empty());

  f = Cli({"report", archive, "--start", "200804141500", "--dir", again, "--csv", again + "/s.csv"});
  ASSERT_EQ(f.status, 0) << f.err;
  const auto words = DumpedWords();
  ASSERT_EQ(words.size(), 30u);
  EXPECT_EQ(ReadFile(again + "/tavovalu.html"), ExpectedReport("STR:200804141500", words));
  EXPECT_EQ(ReadFile(again + "/s.csv"), ExpectedCsv(2008, 4, 14, 15, words));
}

TEST_F(CliSim, FailuresHaveTheirOwnExitStatusAndMessage) {
  struct Case {
    const char* name;
    std::vector<std::string> sim;
    std::vector<std::string> args;  // --port is added
    int status;
    std::string message;           // part of stderr
    std::vector<std::string> wire;
  };
  const Case cases[] = {
      {"silent logger, read", {"--silent"}, {"read-memo"}, 4, U8(u8"正常な応答がありません"), {"Rmem\\r", "Rmem\\r"}},
      {"silent logger, download", {"--silent"}, {"download", "--dir", "DIR"}, 4, U8(u8"応答が有りません[MEM] ！！"),
       {"Rmem\\r", "Rmem\\r"}},
      {"refused ack", {"--refuse-acks"}, {"set-period"}, 5, U8(u8"正常な応答がありません"), {"Calm2\\r", "Calm2\\r"}},
      {"silent ack", {"--silent"}, {"set-period"}, 4, "no proper reply", {"Calm2\\r", "Calm2\\r"}},
      // The core ends a changing job quietly when its resend cannot be written; the console says so.
      {"ack on a hung-up line", {"--hangup-after", "0"}, {"set-period"}, 3, "cannot send the command to",
       {"Calm2\\r", "hangup"}},
      {"clock of 13", {}, {"set-clock", "2008022923595"}, 2, U8(u8"設定日時が異常です"), {}},
      {"clock of 15", {}, {"set-clock", "200802292359590"}, 2, U8(u8"設定日時が異常です"), {}},
      {"clock of month 13", {}, {"set-clock", "20081340256199"}, 2, "a real date and time", {}},
      {"pointer beyond the table", {"--pointer", "12000"}, {"download", "--dir", "DIR"}, 7, U8(u8"温度データの数"),
       {"Rmem\\r", "Rstr\\r", "Rpt\\r"}},
      // Malformed pointers are asked three times; none is read as a count.
      {"pointer with a line break", {"--pointer", "7\n200"}, {"download", "--dir", "DIR"}, 7, "unreadable",
       {"Rmem\\r", "Rstr\\r", "Rpt\\r", "Rpt\\r", "Rpt\\r"}},
      {"pointer at the bottom of int", {"--pointer", "-2147483647"}, {"download", "--dir", "DIR"}, 7, "unreadable",
       {"Rmem\\r", "Rstr\\r", "Rpt\\r", "Rpt\\r", "Rpt\\r"}},
      {"dir is a file", {}, {"download", "--dir", "DIR/transcript"}, 6, "Not a directory", {}},
      {"dir under a file", {}, {"download", "--dir", "DIR/transcript/sub"}, 6, "cannot make directory", {}},
      {"csv dir missing", {}, {"download", "--dir", "DIR", "--csv", "DIR/nowhere/x.csv"}, 6, "nowhere", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim_.Stop();
    ::unlink((dir_ + "/transcript").c_str());
    StartSim(c.sim);
    std::vector<std::string> args;
    for (std::string a : c.args) {
      const auto at = a.find("DIR");
      if (at != std::string::npos) a.replace(at, 3, dir_);
      args.push_back(a);
    }
    args.insert(args.end(), {"--port", tty_});
    const Finished f = Cli(args);
    EXPECT_EQ(f.status, c.status) << f.err;
    EXPECT_NE(f.err.find(c.message), std::string::npos) << f.err;
    EXPECT_EQ(f.out, "");
    EXPECT_EQ(Wire(), c.wire);
    EXPECT_FALSE(Exists(dir_ + "/tavovalu.html"));
  }
}

// A logger with no samples answers Rdt0000 with NG, or not at all: no fault, a report with no
// rows, a CSV of its header alone, and no season to keep.
TEST_F(CliSim, AnEmptyLoggerGivesAReportWithNoRowsAndNoSeason) {
  for (const std::vector<std::string>& sim : {std::vector<std::string>{"--samples", "0"},
                                              std::vector<std::string>{"--samples", "0", "--silent-for", "Rdt0000"}}) {
    SCOPED_TRACE(sim.back());
    sim_.Stop();
    const std::string out = dir_ + "/empty-" + sim.back();
    ::mkdir(out.c_str(), 0755);
    StartSim(sim);
    const Finished f = Cli({"download", "--port", tty_, "--dir", out, "--season", out + "/page.html", "--csv",
                            out + "/s.csv", "--no-progress"});
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.out.find("the logger holds no samples"), std::string::npos) << f.out;
    EXPECT_EQ(ReadFile(out + "/s.csv"), "time,temperature_c,no_water,offset_c\n") << "the CSV of no samples is its header";
    const std::string report = ReadFile(out + "/tavovalu.html");
    EXPECT_NE(report.find("</tr>\n  </tr>\n"), std::string::npos) << "the header row, then an empty body";
    const std::string row = "<tr align=\"center\">";
    EXPECT_EQ(report.find(row, report.find(row) + 1), std::string::npos) << "a day row";
    EXPECT_FALSE(Exists(out + "/page.html"));
    int archives = 0;
    if (DIR* d = ::opendir(out.c_str())) {
      while (const dirent* e = ::readdir(d)) archives += std::string(e->d_name).find(".ptlog") != std::string::npos;
      ::closedir(d);
    }
    EXPECT_EQ(archives, 0);
  }
}

TEST_F(CliSim, ANoisyLineGivesTheExactSeasonOrKeepsLastSeasons) {
  const std::string out = dir_ + "/out";
  ::mkdir(out.c_str(), 0755);
  // Spoilt replies, and two answers that come just after the resend went out (then the resend's).
  StartSim({"--samples", "300", "--seed", "11", "--spoil", "3", "--late", "Rpt:1050", "--late", "Rdt0007:1050"});
  Finished f = Cli({"download", "--port", tty_, "--dir", out, "--csv", out + "/s.csv", "--no-progress"});
  ASSERT_EQ(f.status, 0) << f.err;
  const auto words = DumpedWords();
  ASSERT_EQ(words.size(), 300u);
  const std::string season = ReadFile(out + "/tavovalu.html");
  EXPECT_EQ(season, ExpectedReport("STR:200804140600", words));
  EXPECT_EQ(ReadFile(out + "/s.csv"), ExpectedCsv(2008, 4, 14, 6, words));
  int spoilt = 0;
  for (const auto& line : Wire()) spoilt += line.rfind("spoilt ", 0) == 0 ? 1 : 0;
  EXPECT_GE(spoilt, 3) << "the simulator spoilt too few replies to show anything";

  // The next season's sample 5 never comes clean: nothing of it may replace the report.
  sim_.Stop();
  StartSim({"--samples", "20", "--seed", "12", "--spoil-always", "5"});
  f = Cli({"download", "--port", tty_, "--dir", out, "--no-progress"});
  EXPECT_EQ(f.status, 4) << f.err;
  EXPECT_NE(f.err.find(U8(u8"正常な応答がありません")), std::string::npos) << f.err;
  EXPECT_EQ(f.out.find("report:"), std::string::npos) << f.out;
  EXPECT_EQ(ReadFile(out + "/tavovalu.html"), season);
}

TEST_F(CliSim, AnArchiveRebuildsTheSeasonsFilesByteForByte) {
  StartSim({"--samples", "60", "--start", "200802281500"});
  const std::string a = dir_ + "/a", b = dir_ + "/b";
  ::mkdir(a.c_str(), 0755);
  ::mkdir(b.c_str(), 0755);
  Finished f = Cli({"download", "--port", tty_, "--dir", a, "--csv", a + "/s.csv", "--daily", a + "/d.csv",
                    "--season", a + "/p.html", "--csv-bom", "--base", "10", "--no-progress"});
  ASSERT_EQ(f.status, 0) << f.err;
  const auto at = f.out.find("archive: ");
  ASSERT_NE(at, std::string::npos) << f.out;
  const std::string archive = f.out.substr(at + 9, f.out.find('\n', at) - at - 9);
  EXPECT_EQ(archive.rfind(a + "/paddytherm-", 0), 0u) << archive;
  EXPECT_EQ(ReadFile(a + "/d.csv").rfind("\xEF\xBB\xBF" "date,mean_c,", 0), 0u);

  f = Cli({"report", archive, "--dir", b, "--csv", b + "/s.csv", "--daily", b + "/d.csv", "--season", b + "/p.html",
           "--csv-bom", "--base", "10"});
  ASSERT_EQ(f.status, 0) << f.err;
  for (const char* name : {"/tavovalu.html", "/s.csv", "/d.csv", "/p.html"}) {
    EXPECT_EQ(ReadFile(b + name), ReadFile(a + name)) << name;
  }

  // A report read back gives the samples as the report shows them.
  f = Cli({"report", a + "/tavovalu.html", "--csv", b + "/back.csv", "--csv-bom"});
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_EQ(ReadFile(b + "/back.csv"), ReadFile(a + "/s.csv"));

  // A changed byte, or a file that is none of ours: refused, and nothing written.
  std::string bytes = ReadFile(archive);
  bytes[bytes.size() / 2] ^= 1;
  std::ofstream(dir_ + "/bad.ptlog", std::ios::binary) << bytes;
  std::ofstream(dir_ + "/other.html", std::ios::binary) << "<html><body>hello</body></html>\n";
  const std::string c = dir_ + "/c";
  ::mkdir(c.c_str(), 0755);
  const std::pair<std::string, std::string> refused[] = {
      {dir_ + "/bad.ptlog", dir_ + "/bad.ptlog: line "},
      {dir_ + "/other.html", "neither an archive nor a tavovalu.html"},
  };
  for (const auto& [input, why] : refused) {
    f = Cli({"report", input, "--dir", c, "--csv", c + "/s.csv"});
    EXPECT_EQ(f.status, 2) << input << ": " << f.err;
    EXPECT_NE(f.err.find(why), std::string::npos) << f.err;
    EXPECT_EQ(f.out, "");
  }
  EXPECT_FALSE(Exists(c + "/tavovalu.html"));
  EXPECT_FALSE(Exists(c + "/s.csv"));

  // The same season compared with its report read back: the report has no memo, so its folder's
  // name labels it. One file that is none of ours refuses the comparison whole.
  f = Cli({"compare", archive, a + "/tavovalu.html", "--daily", c + "/both.csv", "--season", c + "/both.html"});
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_EQ(f.out, "daily: " + c + "/both.csv\nseason: " + c + "/both.html\n");
  const std::string both = ReadFile(c + "/both.csv");
  const std::string oneDay = "2008-02-28,2008-03-01,";
  EXPECT_NE(both.find("\nPADDY A-1," + oneDay), std::string::npos) << both;
  EXPECT_NE(both.find("\na," + oneDay), std::string::npos) << both;
  f = Cli({"compare", archive, dir_ + "/other.html", "--season", c + "/refused.html"});
  EXPECT_EQ(f.status, 2);
  EXPECT_NE(f.err.find("other.html is neither an archive"), std::string::npos) << f.err;
  EXPECT_FALSE(Exists(c + "/refused.html"));
}

// An inlet logger and a field logger downloaded in turn, started at different hours, paired by
// date and hour: the inlet from 1 May 18:00, the field from 1 May 06:00, both to 3 May 23:00.
TEST_F(CliSim, PairAlignsTwoDownloadsByDateAndHour) {
  // Runs of one word, in sixteenths: 0x1E0 30.0, 0x140 20.0, 0x160 22.0, 0x0A0 10.0, 0x144 20.25,
  // 0x13C 19.75.
  const auto words = [](const std::vector<std::pair<int, std::string>>& runs) {
    std::string text;
    for (const auto& [count, word] : runs) {
      for (int i = 0; i < count; ++i) text += word + "\n";
    }
    return text;
  };
  const auto download = [&](const std::string& name, const std::vector<std::string>& sim) {
    StartSim(sim);
    const std::string dir = dir_ + "/" + name;
    ::mkdir(dir.c_str(), 0755);
    const Finished f = Cli({"download", "--port", tty_, "--dir", dir, "--no-progress"});
    sim_.Stop();
    EXPECT_EQ(f.status, 0) << f.err;
    const auto at = f.out.find("archive: ");
    return at == std::string::npos ? std::string() : f.out.substr(at + 9, f.out.find('\n', at) - at - 9);
  };
  WriteBytes(dir_ + "/inlet.words", words({{6, "01E0"}, {24, "0140"}, {24, "0160"}}));
  WriteBytes(dir_ + "/field.words", words({{18, "00A0"}, {24, "0144"}, {24, "013C"}}));
  const std::string inlet = download("inlet", {"--words", dir_ + "/inlet.words", "--start", "200805011800"});
  const std::string field = download("field", {"--words", dir_ + "/field.words", "--start", "200805010600"});
  const std::string other = download("other", {"--samples", "30", "--start", "200905010000"});
  ASSERT_FALSE(inlet.empty() || field.empty() || other.empty());

  // The inlet read back from its report (tenths, exact here), the field from its archive. Whole in
  // both: 2 May (20.25 - 20 = 0.25, a tie, up to 0.3) and 3 May (19.75 - 22 = -2.25, up to -2.2).
  const std::string csv = dir_ + "/pair.csv", page = dir_ + "/pair.html";
  Finished f = Cli({"pair", dir_ + "/inlet/tavovalu.html", field, "--daily", csv, "--season", page, "--csv-bom"});
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_EQ(f.out, "daily: " + csv + "\nseason: " + page + "\n");
  EXPECT_EQ(ReadFile(csv),
            "\xEF\xBB\xBF" "date,inlet_mean_c,field_mean_c,difference_c\n"
            "2008-05-02,20.0,20.3,0.3\n2008-05-03,22.0,19.8,-2.2\n");
  // Only 3 May is beyond the default margin of 2.
  EXPECT_NE(ReadFile(page).find(U8(u8"（1 日 / 両方そろった 2 日")), std::string::npos);

  // A year apart: refused, naming what each covers, and nothing written.
  f = Cli({"pair", inlet, other, "--daily", dir_ + "/refused.csv"});
  EXPECT_EQ(f.status, 2);
  EXPECT_EQ(f.err, "paddytherm-cli: INLET and FIELD share no complete day: " + inlet +
                       " runs from 2008-05-01 to 2008-05-03, " + other + " runs from 2009-05-01 to 2009-05-02\n");
  EXPECT_FALSE(Exists(dir_ + "/refused.csv"));
}

TEST_F(CliSim, AReplyTimeoutIsOneSecondAndOneResend) {
  StartSim({"--silent"});
  const Finished f = Cli({"check-pointer", "--port", tty_});
  EXPECT_EQ(f.status, 4);
  const auto times = WireTimes();
  ASSERT_EQ(times.size(), 2u);
  // The simulator stamps a command when it gets to read it: under load the first stamp can come a
  // few milliseconds after the send, so the gap it sees may fall just short of the full second.
  EXPECT_GE(times[1] - times[0], 950);
  EXPECT_LT(times[1] - times[0], 1200);
  EXPECT_GE(f.ms, 2000) << "the second wait lasts its full second too";
  EXPECT_LT(f.ms, 3000);
}

TEST_F(CliSim, AMissingPortIsNamedWithTheSystemsReason) {
  const std::string missing = dir_ + "/no-such-tty";
  const Finished f = Cli({"read-clock", "--port", missing});
  EXPECT_EQ(f.status, 3);
  EXPECT_EQ(f.err, "paddytherm-cli: cannot open " + missing + ": No such file or directory\n");
  EXPECT_EQ(f.out, "");
  // A regular file is no serial line.
  std::ofstream(dir_ + "/plain") << "x";
  const Finished h = Cli({"read-clock", "--port", dir_ + "/plain"});
  EXPECT_EQ(h.status, 3);
  EXPECT_EQ(h.err, "paddytherm-cli: cannot open " + dir_ + "/plain: Inappropriate ioctl for device\n");
}

TEST_F(CliSim, AReportThatCannotBeCreatedStillLeavesTheCsv) {
  StartSim({"--samples", "5"});
  ::mkdir((dir_ + "/tavovalu.html").c_str(), 0755);  // even root cannot open a directory as a file
  const Finished f = Cli({"download", "--port", tty_, "--dir", dir_, "--csv", dir_ + "/s.csv"});
  EXPECT_EQ(f.status, 6);
  EXPECT_NE(f.err.find(U8(u8"ﾌｧｲﾙｵｰﾌﾟﾝｴﾗｰ (cannot create ") + dir_ + "/tavovalu.html): Is a directory"), std::string::npos)
      << f.err;
  EXPECT_EQ(ReadFile(dir_ + "/s.csv"), ExpectedCsv(2008, 4, 14, 6, DumpedWords()));
  EXPECT_EQ(f.out.find("report:"), std::string::npos) << "a report that failed is not announced";
  EXPECT_NE(f.out.find("csv: " + dir_ + "/s.csv\n"), std::string::npos) << f.out;
}

TEST_F(CliSim, ACsvThatCannotBeWrittenLeavesNothingHalfDone) {
  StartSim({"--samples", "5"});
  ::mkdir((dir_ + "/s.csv").c_str(), 0755);
  const Finished f = Cli({"download", "--port", tty_, "--dir", dir_, "--csv", dir_ + "/s.csv"});
  EXPECT_EQ(f.status, 6);
  EXPECT_NE(f.err.find("cannot write " + dir_ + "/s.csv"), std::string::npos) << f.err;
  EXPECT_TRUE(Exists(dir_ + "/tavovalu.html"));
  // No temporary file is left beside it.
  const Finished ls = RunProgram("/bin/ls", {dir_}, {}, 5000);
  EXPECT_EQ(ls.out.find("s.csv."), std::string::npos) << ls.out;
}

TEST_F(CliSim, AReportThatCannotBeWrittenKeepsLastSeasonsByteForByte) {
  StartSim({"--samples", "75"});
  const std::string report = dir_ + "/tavovalu.html";
  struct Case {
    long long limit;      // the largest file the program may make
    std::string message;  // part of stderr
  };
  const Case cases[] = {
      {60, U8(u8"ﾌｧｲﾙﾗｲﾄｴﾗｰ<DOCTYPE...> (writing ") + report + " failed; the earlier one is kept)"},
      // Past the head: the table goes on failing, and the first tail line says so.
      {1500, U8(u8"ﾌｧｲﾙﾗｲﾄｴﾗｰ</TABLE> (writing ") + report + " failed; the earlier one is kept): File too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    WriteBytes(report, kLastSeason);
    ::chmod(report.c_str(), 0640);
    const std::set<std::string> before = Names(dir_);
    const Finished f = RunProgram(PT_CLI_PATH, {"download", "--port", tty_, "--dir", dir_, "--no-progress"}, kUtf8,
                                  30000, c.limit);
    EXPECT_EQ(f.status, 6) << f.err;
    EXPECT_NE(f.err.find(c.message), std::string::npos) << f.err;
    EXPECT_EQ(f.out.find("report:"), std::string::npos);
    EXPECT_EQ(ReadFile(report), kLastSeason);
    EXPECT_EQ(ModeOf(report), 0640u);
    EXPECT_EQ(Names(dir_), before) << "no temporary file is left";
  }
  EXPECT_EQ(Wire().size(), 2u * (3u + 75u + 1u)) << "both downloads ran to the end, and read the clock";
}

TEST_F(CliSim, TheCsvIsWrittenAsWhatItsPathIs) {
  StartSim({"--samples", "5"});
  const std::string out = dir_ + "/out";
  ::mkdir(out.c_str(), 0755);
  WriteBytes(out + "/kept.csv", "old\n");
  ::chmod((out + "/kept.csv").c_str(), 0604);
  WriteBytes(out + "/target.csv", "old\n");
  ::symlink("target.csv", (out + "/link.csv").c_str());
  ::symlink("later.csv", (out + "/dangling.csv").c_str());
  ASSERT_EQ(::mkfifo((out + "/pipe.csv").c_str(), 0600), 0);

  // The FIFO's reader; it is let go at the end if the program never opened the FIFO.
  std::string piped;
  std::thread reader([&] {
    const int fd = ::open((out + "/pipe.csv").c_str(), O_RDONLY);
    char buf[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;) piped.append(buf, static_cast<std::size_t>(n));
    if (fd >= 0) ::close(fd);
  });

  struct Case {
    std::string csv;
    std::string written;  // where the CSV must be found afterwards; "" for nowhere
  };
  const Case cases[] = {
      {out + "/kept.csv", out + "/kept.csv"},
      {out + "/link.csv", out + "/target.csv"},
      {out + "/dangling.csv", out + "/later.csv"},
      {out + "/pipe.csv", ""},
      {"/dev/null", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv);
    const Finished f = Cli({"download", "--port", tty_, "--dir", out, "--csv", c.csv, "--no-progress", "--no-archive"});
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.out.find("csv: " + c.csv + "\n"), std::string::npos) << f.out;
    if (!c.written.empty()) {
      EXPECT_EQ(ReadFile(c.written), ExpectedCsv(2008, 4, 14, 6, DumpedWords()));
    }
  }
  const int unblock = ::open((out + "/pipe.csv").c_str(), O_WRONLY | O_NONBLOCK);
  if (unblock >= 0) ::close(unblock);
  reader.join();
  EXPECT_EQ(piped, ExpectedCsv(2008, 4, 14, 6, DumpedWords()));

  EXPECT_EQ(ModeOf(out + "/kept.csv"), 0604u) << "a replaced file keeps its mode";
  struct stat st {};
  EXPECT_TRUE(::lstat((out + "/link.csv").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_TRUE(::lstat((out + "/dangling.csv").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_TRUE(::lstat((out + "/pipe.csv").c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
  EXPECT_EQ(Names(out), (std::set<std::string>{"dangling.csv", "kept.csv", "later.csv", "link.csv", "pipe.csv",
                                               "target.csv", "tavovalu.html"}));
}

TEST_F(CliSim, RefusedInputsAreRefusedBeforeThePortIsOpened) {
  StartSim({});
  const std::string report = dir_ + "/tavovalu.html";
  ::mkdir((dir_ + "/sub").c_str(), 0755);
  ::mkdir((dir_ + "/fresh").c_str(), 0755);
  WriteBytes(report, kLastSeason);
  ::link(report.c_str(), (dir_ + "/hard.csv").c_str());
  ::symlink("tavovalu.html", (dir_ + "/soft.csv").c_str());
  ::symlink("../fresh/tavovalu.html", (dir_ + "/sub/ahead.csv").c_str());
  struct Case {
    std::vector<std::string> args;  // --port is added
    std::string message;
  };
  const std::string csvIsReport = "is the report";
  const Case cases[] = {
      {{"download", "--dir", dir_, "--csv", report}, csvIsReport},
      {{"download", "--dir", dir_ + "/sub/..", "--csv", dir_ + "/tavovalu.html"}, csvIsReport},
      {{"download", "--dir", dir_, "--csv", dir_ + "/sub/../tavovalu.html"}, csvIsReport},
      {{"download", "--dir", dir_, "--csv", dir_ + "/hard.csv"}, csvIsReport},
      {{"download", "--dir", dir_, "--csv", dir_ + "/soft.csv"}, csvIsReport},
      // No report there yet: the same folder and name.
      {{"download", "--dir", dir_ + "/fresh", "--csv", dir_ + "/sub/../fresh/tavovalu.html"}, csvIsReport},
      {{"download", "--dir", dir_ + "/fresh", "--csv", dir_ + "/sub/ahead.csv"}, csvIsReport},
      {{"write-memo", "X\rCalm1\r"}, "control character"},
      {{"write-memo", "a\tb"}, "control character"},
      {{"write-memo", "\x1b[2J"}, "control character"},
      {{"write-memo", "del\x7f"}, "control character"},
      {{"set-clock", "2008022923595"}, U8(u8"設定日時が異常です (the clock must be 14 characters")},
      {{"set-clock", "2008022923595\t"}, U8(u8"設定日時が異常です")},
      {{"set-clock", "20081310181256"}, U8(u8"設定日時が異常です")},
      {{"set-clock", "20090230120000"}, U8(u8"設定日時が異常です")},
      {{"set-clock", "20080414240000"}, U8(u8"設定日時が異常です")},
      {{"set-clock", "20080414236000"}, U8(u8"設定日時が異常です")},
      {{"write-memo", "PADDY A-1 NORTH 2"}, "the memo is 17 bytes in Shift-JIS, and the logger keeps 16"},
      {{"write-memo", U8(u8"田んぼA-2の北の端")}, "the memo is 17 bytes in Shift-JIS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    // On the simulator's line nothing may be sent; on a port that does not exist the refusal
    // comes before the failed open (exit 3) would.
    for (const std::string& port : {tty_, dir_ + "/no-such-tty"}) {
      std::vector<std::string> args = c.args;
      args.insert(args.end(), {"--port", port});
      const Finished f = Cli(args);
      EXPECT_EQ(f.status, 2) << f.err;
      EXPECT_NE(f.err.find(c.message), std::string::npos) << f.err;
      EXPECT_EQ(f.out, "");
    }
  }
  EXPECT_TRUE(Wire().empty());
  EXPECT_EQ(ReadFile(report), kLastSeason);
  EXPECT_FALSE(Exists(dir_ + "/fresh/tavovalu.html"));
}

// report writes tavovalu.html only when asked (--html or --dir), into a --dir it makes; a CSV or a
// page alone leaves the report here as it was.
TEST_F(CliSim, ReportWritesOnlyWhatIsAsked) {
  StartSim({"--samples", "30"});
  const std::string a = dir_ + "/a";
  Finished f = Cli({"download", "--port", tty_, "--dir", a + "/new/deep", "--no-progress"});
  ASSERT_EQ(f.status, 0) << f.err;
  EXPECT_TRUE(Exists(a + "/new/deep/tavovalu.html"));
  const auto at = f.out.find("archive: ");
  ASSERT_NE(at, std::string::npos) << f.out;
  const std::string archive = f.out.substr(at + 9, f.out.find('\n', at) - at - 9);
  const std::string report = ReadFile(a + "/new/deep/tavovalu.html");

  const std::string work = dir_ + "/work";
  ::mkdir(work.c_str(), 0755);
  WriteBytes(work + "/tavovalu.html", kLastSeason);
  struct Case {
    std::vector<std::string> args;  // after "report ARCHIVE"; run in `work`
    int status;
    std::string out;                // stdout, "" for none
    std::string madeReport;         // where a report is written; "" for none
  };
  const Case cases[] = {
      {{"--csv", work + "/s.csv"}, 0, "csv: " + work + "/s.csv\n", ""},
      {{"--daily", work + "/d.csv"}, 0, "daily: " + work + "/d.csv\n", ""},
      {{"--season", work + "/p.html"}, 0, "season: " + work + "/p.html\n", ""},
      {{}, 2, "", ""},
      {{"--dir", work + "/b/c"}, 0, "report: " + work + "/b/c/tavovalu.html\n", work + "/b/c/tavovalu.html"},
      {{"--html", "--dir", work + "/h"}, 0, "report: " + work + "/h/tavovalu.html\n", work + "/h/tavovalu.html"},
  };
  // The program runs in `work`, where a report it was not asked for would land.
  char here[4096];
  ASSERT_NE(::getcwd(here, sizeof here), nullptr);
  ASSERT_EQ(::chdir(work.c_str()), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "nothing" : c.args.front());
    std::vector<std::string> args = {"report", archive};
    args.insert(args.end(), c.args.begin(), c.args.end());
    f = Cli(args);
    EXPECT_EQ(f.status, c.status) << f.err;
    EXPECT_EQ(f.out, c.out);
    EXPECT_EQ(ReadFile(work + "/tavovalu.html"), kLastSeason);
    if (!c.madeReport.empty()) {
      EXPECT_EQ(ReadFile(c.madeReport), report);
    }
  }
  ASSERT_EQ(::chdir(here), 0);
  // A report read back is never written again, not even when asked.
  f = Cli({"report", a + "/new/deep/tavovalu.html", "--dir", work + "/r", "--csv", work + "/r.csv"});
  EXPECT_EQ(f.status, 2);
  EXPECT_NE(f.err.find("tavovalu.html is made again only from an archive"), std::string::npos) << f.err;
  EXPECT_FALSE(Exists(work + "/r.csv"));
}

TEST_F(CliSim, ALineThatHangsUpEndsTheDownload) {
  StartSim({"--samples", "50", "--hangup-after", "10"});
  const Finished f = Cli({"download", "--port", tty_, "--dir", dir_}, 20000);
  EXPECT_EQ(f.status, 3) << f.err;
  EXPECT_NE(f.err.find("[TAVO]"), std::string::npos) << f.err;
  // The headers were shown as soon as they were read, before the samples that never came.
  EXPECT_EQ(f.out, "memo: PADDY A-1       \nstart: STR:200804140600\npointer: 50\n");
  EXPECT_LT(f.ms, 5000);
  EXPECT_FALSE(Exists(dir_ + "/tavovalu.html"));
}

TEST_F(CliSim, UsageErrorsNeverTouchTheLine) {
  StartSim({});
  const std::vector<std::vector<std::string>> cases = {
      {"read-memo"},                                      // no --port
      {"dance", "--port", tty_},                          // no such command
      {"read-memo", "--port", tty_, "--baud", "4800"},
      {"read-memo", "--port", tty_, "--csv", "x.csv"},   // a download option
      {"download", "--port", tty_, "--start", "200802301500"},
      {"set-clock", "--port", tty_},
      {"set-clock", "--pc", "20080101000000", "--port", tty_},
      {"write-memo", "--port", tty_},
      {"read-memo", "extra", "--port", tty_},
  };
  for (const auto& args : cases) {
    const Finished f = Cli(args);
    EXPECT_EQ(f.status, 2) << args[0];
    EXPECT_NE(f.err.find("Try 'paddytherm-cli --help'."), std::string::npos) << f.err;
  }
  EXPECT_TRUE(Wire().empty());
  const Finished help = Cli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("  7  data:"), std::string::npos);
}

namespace files {

// What is in `dir` (and its folders), byte for byte; links, FIFOs and devices by what they are.
void Snap(const std::string& dir, const std::string& prefix, std::map<std::string, std::string>& out) {
  for (const std::string& name : Names(dir)) {
    const std::string path = dir + "/" + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    std::string& what = out[prefix + name];
    if (S_ISDIR(st.st_mode)) {
      Snap(path, prefix + name + "/", out);
    } else if (S_ISLNK(st.st_mode)) {
      what = "link";
    } else if (S_ISFIFO(st.st_mode)) {
      what = "fifo";
    } else if (S_ISCHR(st.st_mode)) {
      what = "char device";
    } else if (st.st_size > (1 << 20)) {
      what = "a file of " + std::to_string(st.st_size) + " bytes";  // not printed whole on a failure
    } else {
      what = ReadFile(path);
    }
  }
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> out;
  Snap(dir, "", out);
  return out;
}

}  // namespace files

// /dev/stdout leads to whatever the shell opened, here a file the user keeps: it is written to,
// never replaced, and what it held stays.
TEST_F(CliSim, AnOutputToTheProgramsOwnStreamIsAddedToWhatItLeadsTo) {
  StartSim({"--samples", "5"});
  Finished f = Cli({"download", "--port", tty_, "--dir", dir_, "--no-progress"});
  ASSERT_EQ(f.status, 0) << f.err;
  const auto at = f.out.find("archive: ");
  ASSERT_NE(at, std::string::npos) << f.out;
  const std::string archive = f.out.substr(at + 9, f.out.find('\n', at) - at - 9);
  const std::string log = dir_ + "/log.txt";
  WriteBytes(log, "precious\n");
  f = RunProgram("/bin/sh", {"-c", "exec \"$0\" report \"$1\" --dir \"$2\" --daily /dev/stdout --season /dev/stdout >> \"$3\"",
                             PT_CLI_PATH, archive, dir_, log}, {}, 30000);
  EXPECT_EQ(f.status, 0) << f.err;
  const std::string kept = ReadFile(log);
  EXPECT_EQ(kept.rfind("precious\n", 0), 0u) << kept.substr(0, 200);
  EXPECT_NE(kept.find("date,mean_c,max_c,min_c"), std::string::npos);
  EXPECT_NE(kept.find("</html>"), std::string::npos);
  EXPECT_NE(kept.find("season: /dev/stdout"), std::string::npos) << "the program's own lines land there too";
}

TEST_F(CliSim, NoOutputReplacesAnInputOrAnotherAndInputsAreFilesOfASeasonsSize) {
  StartSim({"--samples", "5"});
  const std::string src = dir_ + "/src", w = dir_ + "/w", exp = dir_ + "/exp";
  for (const std::string& d : {src, w, w + "/t", exp}) ::mkdir(d.c_str(), 0755);
  Finished f = Cli({"download", "--port", tty_, "--dir", src, "--no-progress"});
  ASSERT_EQ(f.status, 0) << f.err;
  const auto at = f.out.find("archive: ");
  ASSERT_NE(at, std::string::npos) << f.out;
  const std::string a = w + "/season.ptlog", h = w + "/tavovalu.html", x = w + "/x.csv";
  WriteBytes(a, ReadFile(f.out.substr(at + 9, f.out.find('\n', at) - at - 9)));
  WriteBytes(h, ReadFile(src + "/tavovalu.html"));
  WriteBytes(x, "kept\n");
  ::symlink("season.ptlog", (w + "/season.lnk").c_str());
  ::link(a.c_str(), (w + "/season.hard").c_str());
  ASSERT_EQ(::mkfifo((w + "/in.fifo").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((w + "/out.fifo").c_str(), 0600), 0);
  // A copy of /dev/null, never the real one.
  const bool root = ::mknod((w + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  WriteBytes(w + "/big", "");
  ASSERT_EQ(::truncate((w + "/big").c_str(), (8 << 20) + 1), 0);
  ASSERT_EQ(Cli({"report", a, "--dir", exp, "--daily", exp + "/daily.csv", "--season", exp + "/page.html"}).status, 0);
  const std::size_t wireBefore = Wire().size();

  // The FIFO's reader, let go at the end if the program never opened it.
  std::string piped;
  std::thread reader([&] {
    const int fd = ::open((w + "/out.fifo").c_str(), O_RDONLY);
    char buf[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;) piped.append(buf, static_cast<std::size_t>(n));
    if (fd >= 0) ::close(fd);
  });

  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> said;  // in this order on stderr
  };
  const std::string clash = " itself: no output may replace an input or another output";
  std::vector<Case> cases = {
      {{"report", a, "--csv", a}, 2, {"--csv " + a + " is the input " + a + clash}},
      {{"compare", a, "--season", w + "/season.lnk"}, 2, {"--season " + w + "/season.lnk is the input " + a + clash}},
      {{"compare", h, a, "--daily", w + "/season.hard"}, 2, {"--daily " + w + "/season.hard is the input " + a + clash}},
      {{"report", h, "--season", h}, 2, {"--season " + h + " is the input " + h + clash}},
      {{"report", a, "--dir", w + "/t", "--season", w + "/t/tavovalu.html"},
       2,
       {"--season " + w + "/t/tavovalu.html is the report " + w + "/t/tavovalu.html" + clash}},
      {{"report", a, "--daily", x, "--season", w + "/t/../x.csv"}, 2, {"--season " + w + "/t/../x.csv is --daily " + x + clash}},
      {{"download", "--port", tty_, "--dir", w, "--daily", w + "/t/../tavovalu.html"},
       2,
       {"--daily " + w + "/t/../tavovalu.html is the report " + h + clash}},
      {{"report", w + "/in.fifo", "--csv", exp + "/no.csv"}, 2, {"cannot read " + w + "/in.fifo: it is a FIFO, not a file"}},
      {{"compare", a, w + "/in.fifo", "--season", exp + "/no.html"}, 2, {"cannot read " + w + "/in.fifo: it is a FIFO"}},
      {{"report", "/dev/zero", "--csv", exp + "/no.csv"}, 2, {"cannot read /dev/zero: it is a character device, not a file"}},
      {{"report", w + "/big", "--csv", exp + "/no.csv"},
       2,
       {"cannot read " + w + "/big: 8388609 bytes is more than a report of a full season can be (8 MB)"}},
      // FIFOs and character devices are written as they are, and stay what they are.
      {{"report", a, "--dir", exp, "--daily", w + "/out.fifo", "--season", root ? w + "/null" : exp + "/page2.html"},
       0,
       {}},
  };
  const auto before = files::Snapshot(w);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
    f = Cli(c.args, 10000);
    EXPECT_EQ(f.status, c.status) << f.err;
    EXPECT_LT(f.ms, 5000) << "a FIFO or a device never holds the program";
    for (const std::string& part : c.said) {
      EXPECT_NE(f.err.find(part), std::string::npos) << f.err;
    }
    if (c.status != 0) {
      EXPECT_EQ(f.out, "");
    }
    EXPECT_EQ(files::Snapshot(w), before);
  }
  const int unblock = ::open((w + "/out.fifo").c_str(), O_WRONLY | O_NONBLOCK);
  if (unblock >= 0) ::close(unblock);
  reader.join();
  EXPECT_EQ(piped, ReadFile(exp + "/daily.csv"));
  EXPECT_FALSE(Exists(exp + "/no.csv") || Exists(exp + "/no.html") || Exists(w + "/t/tavovalu.html"));
  EXPECT_EQ(Wire().size(), wireBefore) << "a refused download asks the logger nothing";
  if (!root) std::fprintf(stderr, "not root: no character device made, /dev/null's case not run\n");

  // Archives in one folder: every name of the next seconds is taken, and two downloads still
  // replace nothing and not each other.
  const std::string arch = dir_ + "/arch";
  ::mkdir(arch.c_str(), 0755);
  const time_t now = ::time(nullptr);
  for (time_t t = now - 1; t < now + 20; ++t) {
    const std::string s = LocalStamp(t);
    WriteBytes(arch + "/paddytherm-" + s.substr(0, 8) + "-" + s.substr(8) + ".ptlog", "taken " + s);
  }
  const auto taken = files::Snapshot(arch);
  std::set<std::string> archives;
  for (int i = 0; i < 2; ++i) {
    f = Cli({"download", "--port", tty_, "--dir", arch, "--no-progress"});
    ASSERT_EQ(f.status, 0) << f.err;
    const auto line = f.out.find("archive: ");
    ASSERT_NE(line, std::string::npos) << f.out;
    const std::string path = f.out.substr(line + 9, f.out.find('\n', line) - line - 9);
    const std::string name = path.substr(arch.size() + 1);
    // The readout's own name with a count: "-2", or "-3" for the second in the same second.
    EXPECT_EQ(taken.count(name.substr(0, name.rfind('-')) + ".ptlog"), 1u) << name;
    archives.insert(name);
  }
  auto after = files::Snapshot(arch);
  EXPECT_EQ(archives.size(), 2u);
  for (const std::string& name : archives) {
    EXPECT_EQ(after[name].rfind("paddytherm-archive ", 0), 0u) << name;
    after.erase(name);
  }
  after.erase("tavovalu.html");
  EXPECT_EQ(after, taken);
}

}  // namespace
}  // namespace cli::test
