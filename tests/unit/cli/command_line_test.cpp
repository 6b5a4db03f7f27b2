// paddytherm-cli's command line: which lines each command takes, and what a refused one is told.
#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/compare.h"
#include "commands/download.h"
#include "commands/jobs.h"
#include "commands/pair.h"
#include "commands/report.h"
#include "logger/jobs.h"
#include "version.h"

namespace cli {
namespace {

// The table of main.cpp, each command's options at hand.
struct Line {
  DownloadCommand download;
  JobCommands jobs;
  ReportCommand report;
  CompareCommand compare;
  PairCommand pair;
  ParsedLine parsed;

  bool Parse(std::vector<const char*> args, std::string& error) {
    Command* const commands[] = {&download, &jobs, &report, &compare, &pair};
    return ParseCommandLine(commands, static_cast<int>(args.size()), args.data(), parsed, error);
  }
  int Job() const {
    if (parsed.command == &download) return pt::DownloadJob;
    return parsed.command == &jobs ? jobs.options.request : 0;
  }
  const LineOptions& Serial() const { return parsed.command == &download ? download.options.line : jobs.options.line; }
};

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
      {{"download", "--port=/dev/x", "--baud", "19200", "--start", "200802291500", "--dir", "d", "--csv=a.csv"},
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
    Line o;
    std::string error;
    ASSERT_TRUE(o.Parse(c.args, error)) << c.args[0] << ": " << error;
    EXPECT_EQ(o.Job(), c.job) << c.args[0];
    EXPECT_EQ(o.Serial().baud, c.baud);
    EXPECT_EQ(o.jobs.options.clock, c.clock);
    EXPECT_EQ(o.jobs.options.memo, c.memo);
    EXPECT_EQ(o.download.options.files.startText, c.start);
    EXPECT_EQ(o.download.options.files.dir, c.dir);
    EXPECT_EQ(o.download.options.files.csv, c.csv);
    EXPECT_EQ(o.jobs.options.pcClock, c.pc);
    EXPECT_EQ(o.jobs.options.debugPeriod, c.debug);
  }
  // --start is taken once, into the minute it names.
  Line typed;
  std::string error;
  ASSERT_TRUE(typed.Parse({"download", "--port", "p", "--start", "200802291530"}, error)) << error;
  ASSERT_TRUE(typed.download.options.files.start.has_value());
  const pt::StartMinute& s = *typed.download.options.files.start;
  EXPECT_EQ((std::vector<int>{s.year, s.month, s.day, s.hour, s.minute}), (std::vector<int>{2008, 2, 29, 15, 30}));
}

// The CSV's byte-order mark: on by default on Windows, where spreadsheets need it, off elsewhere;
// --base read as a temperature.
TEST(CliOptions, CsvByteOrderMarkAndBase) {
  const struct {
    std::vector<const char*> args;  // after "report a.ptlog --csv s.csv"
    bool bom;
    double base;
  } cases[] = {
      {{}, kCsvBomByDefault, 0.0},
      {{"--csv-bom"}, true, 0.0},
      {{"--no-csv-bom", "--base", "-2.5"}, false, -2.5},
      {{"--base", "10"}, kCsvBomByDefault, 10.0},
  };
  for (const auto& c : cases) {
    Line o;
    std::string error;
    std::vector<const char*> args = {"report", "a.ptlog", "--csv", "s.csv"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(o.Parse(args, error)) << error;
    EXPECT_EQ(o.report.options.outputs.csvBom, c.bom) << args.size();
    EXPECT_EQ(o.report.options.outputs.figures.base, c.base) << args.size();
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
      {{"download", "--port", "p", "--baud", "4800"}, "--baud must be 9600 or 19200, not \"4800\""},
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
      {{"read-memo", "--port", "p", "--daily", "d.csv"}, "belong to download, report, compare and pair"},
      {{"report", "a.ptlog", "--from", "2008-02-30"}, "--from must be YYYY-MM-DD"},
      {{"report", "a.ptlog"}, "report has nothing to write: ask for tavovalu.html (--html or --dir), --csv"},
      {{"report", "a.ptlog", "--csv", "s.csv", "--base", "warm"}, "--base must be a temperature in C from -50 to 50, e.g. 10 or 8.5, not \"warm\""},
      {{"report", "a.ptlog", "--csv", "s.csv", "--base", "1e9"}, "--base must be a temperature"},
      {{"report", "a.ptlog", "--csv", "s.csv", "--csv-bom", "--no-csv-bom"}, "--csv-bom and --no-csv-bom ask for opposite"},
      {{"compare", "--season", "c.html"}, "compare needs the FILEs"},
      {{"compare", "a.ptlog", "b.ptlog"}, "compare needs --season OUT.html, --daily OUT.csv or both"},
      {{"compare", "=A", "--season", "c.html"}, "names no file before its label"},
      {{"compare", "a", "b", "c", "--season", "c.html", "--offset", "1,2"}, "2 offsets for 3 FILEs"},
      {{"report", "a.ptlog", "--offset", "0.5,1"}, "--offset must be degrees from -10 to 10"},
      {{"report", "a.ptlog", "--offset", "0.125"}, "at most two decimals"},
      {{"report", "a.ptlog", "--hot", "99"}, "--hot must be a temperature in C from 0 to 50, e.g. 35 or 33.5, not \"99\""},
      {{"report", "a.ptlog", "--cold", "cool"}, "--cold must be a temperature in C from 0 to 50, e.g. 17 or 18.5, not \"cool\""},
      {{"compare", "a.ptlog", "--season", "c.html", "--port", "p"}, "no --port"},
      {{"compare", "a.ptlog", "--season", "c.html", "--dir", "d"}, "not compare"},
      {{"compare", "a.ptlog", "--season", "c.html", "--by", "year"}, "--by must be date or day, not \"year\""},
      {{"compare", "a.ptlog", "--season", "c.html", "--milestones", "1000,500"}, "--milestones must be up to 10 rising"},
      {{"compare", "a.ptlog", "--season", "c.html", "--milestones", "500,,1000"}, "--milestones must be up to 10 rising"},
      {{"compare", "a.ptlog", "--season", "c.html", "--milestones", "1,2,3,4,5,6,7,8,9,10,11"}, "up to 10 rising"},
      {{"compare", "a.ptlog", "--season", "c.html", "--milestones", "100,100000"}, "below 100000"},
      {{"report", "a.ptlog", "--season", "c.html", "--heading", "2008-05-01", "--transplanted", "2008-05-01"},
       "--heading 2008-05-01 must come after --transplanted 2008-05-01"},
      {{"report", "a.ptlog", "--season", "c.html", "--heading", "2008-08-01,2009-08-01"}, "--heading must be YYYY-MM-DD"},
      {{"compare", "a", "b", "c", "--season", "c.html", "--heading", "2008-08-01,2009-08-01"},
       "--heading gives 2 dates for 3 FILEs"},
      {{"report", "a.ptlog", "--season", "c.html", "--by", "day"}, "--by belongs to compare, not report"},
      {{"report", "a.ptlog", "--season", "c.html", "--milestones", "300,0"}, "--milestones must be up to 10 rising"},
      {{"pair", "a.ptlog"}, "FIELD is required"},
      {{"pair", "a.ptlog", "b.ptlog"}, "pair needs --season OUT.html, --daily OUT.csv or both"},
      {{"pair", "a.ptlog", "b.ptlog", "--daily", "d.csv", "--margin", "0"}, "--margin must be degrees from 0.1 to 20"},
      {{"pair", "a.ptlog", "b.ptlog", "--daily", "d.csv", "--margin", "2.25"}, "at most one decimal, not \"2.25\""},
      {{"pair", "a.ptlog", "b.ptlog", "--daily", "d.csv", "--heading", "2008-08-32"}, "--heading must be YYYY-MM-DD"},
      {{"pair", "a.ptlog", "b.ptlog", "--daily", "d.csv", "--margin", "0x2"}, "not \"0x2\""},
      {{"pair", "a.ptlog", "b.ptlog", "--daily", "d.csv", "--heading", "2008-07-20", "--transplanted", "2008-07-25"},
       "--heading 2008-07-20 must come after --transplanted 2008-07-25"},
      {{"report", "a.ptlog", "--daily", "d.csv", "--base", "1e1"}, "--base must be a temperature"},
      {{"compare", "a", "b", "--daily", "d.csv", "--transplanted", "2008-05-01,2008-07-02", "--heading", "2008-07-01"},
       "--heading 2008-07-01 must come after --transplanted 2008-07-02 (FILE 2)"},
      {{"pair", "a.ptlog", "b.ptlog", "--daily", "d.csv", "--from", "2008-05-01"}, "pair takes no --from"},
      // Options follow the command's name.
      {{"--port", "p", "download"}, "--port must come after the command's name: paddytherm-cli download --port ..."},
      {{"--dir", "d", "report", "a.ptlog"}, "--dir must come after the command's name"},
  };
  for (const Case& c : cases) {
    Line o;
    std::string error;
    EXPECT_FALSE(o.Parse(c.args, error)) << c.reason;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.reason << " / " << error;
  }
  std::string error;
  // The help comes from the parser: the whole program's, or one command's own options.
  Line o;
  EXPECT_TRUE(o.Parse({"--help"}, error));
  EXPECT_NE(o.parsed.help.find("  7  data:"), std::string::npos) << o.parsed.help;
  EXPECT_NE(o.parsed.help.find("check-pointer"), std::string::npos);
  Line sub;
  EXPECT_TRUE(sub.Parse({"set-period", "--help"}, error));
  EXPECT_NE(sub.parsed.help.find("--debug"), std::string::npos) << sub.parsed.help;
  EXPECT_EQ(sub.parsed.help.find("--csv"), std::string::npos) << "another command's option";
  // --version needs no command, and wins over one given with it. The numbers, not the macros'
  // names, must be spelt.
  const std::string version = "paddytherm-cli " + std::to_string(PT_VERSION_MAJOR) + "." +
                              std::to_string(PT_VERSION_MINOR) + "." + std::to_string(PT_VERSION_PATCH);
  for (const std::vector<const char*>& args :
       {std::vector<const char*>{"--version"}, {"read-memo", "--version"}, {"--version", "fetch"}}) {
    Line v;
    EXPECT_TRUE(v.Parse(args, error)) << args.back() << ": " << error;
    EXPECT_EQ(v.parsed.version, version) << args.back();
  }
}

TEST(CliOptions, CompareTakesItsFilesAndItsOwnOptions) {
  Line line;
  std::string error;
  ASSERT_TRUE(line.Parse({"compare", "a.ptlog", "b/tavovalu.html=Field A", "c=d.ptlog=", "--season", "c.html", "--by",
                          "day", "--milestones", "300,650.5", "--from", "2008-05-10", "--daily", "d.csv", "--offset",
                          "0.5,-0.25,0", "--cold", "15", "--hot=33.5", "--transplanted", "2008-05-01",
                          "--heading", "2008-08-01,2009-08-03,2010-07-30"},
                         error))
      << error;
  EXPECT_EQ(line.parsed.command, &line.compare);
  const CompareOptions& o = line.compare.options;
  std::vector<std::string> inputs;
  for (const CompareInput& in : o.inputs) inputs.push_back(in.path + "|" + in.label);
  EXPECT_EQ(inputs, (std::vector<std::string>{"a.ptlog|", "b/tavovalu.html|Field A", "c=d.ptlog|"}));
  EXPECT_EQ(o.outputs.offsets, (std::vector<double>{0.5, -0.25, 0.0}));
  EXPECT_EQ(o.outputs.figures.coldBelow, 15.0);
  EXPECT_EQ(o.outputs.figures.hotFrom, 33.5);
  ASSERT_EQ(o.outputs.stages.size(), 3u) << "one heading each, the one transplanting for all";
  EXPECT_EQ(o.outputs.stages[1].transplanted, (pt::season::CivilDate{2008, 5, 1}));
  EXPECT_EQ(o.outputs.stages[1].heading, (pt::season::CivilDate{2009, 8, 3}));
  EXPECT_TRUE(o.byDay);
  EXPECT_EQ(o.outputs.milestones, (std::vector<double>{300.0, 650.5}));
  EXPECT_EQ(o.outputs.seasonPage, "c.html");
  EXPECT_EQ(o.outputs.daily, "d.csv");
  EXPECT_EQ(o.outputs.figures.from, (pt::season::CivilDate{2008, 5, 10})) << "--from taken once, as a date";
  Line defaults;
  ASSERT_TRUE(defaults.Parse({"compare", "a.ptlog", "--season", "c.html"}, error)) << error;
  EXPECT_FALSE(defaults.compare.options.byDay);
  EXPECT_FALSE(defaults.compare.options.outputs.milestones) << "none given: the defaults of the base";
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

}  // namespace
}  // namespace cli
