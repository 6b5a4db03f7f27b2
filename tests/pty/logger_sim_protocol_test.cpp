// The simulated logger's protocol side, without a terminal: replies byte for byte, the clock,
// line assembly, the season and the fault shapers.
#include <gtest/gtest.h>

#include <set>

#include "sim_faults.h"
#include "sim_options.h"
#include "sim_protocol.h"
#include "sim_season.h"

namespace sim {
namespace {

LoggerData SmallData() {
  LoggerData d;
  d.memo = "PADDY A-1       ";
  d.start = {2008, 4, 14, 22, 0, 0};
  d.words = {0x0190, 0x4194, 0x0FFF};
  d.clock = {2026, 12, 31, 23, 59, 58};
  return d;
}

TEST(LoggerSimProtocol, AnswersEachCommandByteForByte) {
  struct Case {
    const char* line;
    std::string reply;
  };
  const Case cases[] = {
      {"Rmem", "\nPADDY A-1       \r"},
      {"Rstr", "\nSTR:200804142200\r"},
      {"Rpt", "\n3\r"},
      {"Rdt0000", "\n0190\r"},
      {"Rdt0001", "\n4194\r"},
      {"Rdt0002", "\n0FFF\r"},
      {"Rdt0003", "\nNG\r"},   // beyond the stored samples
      {"Rdt9999", "\nNG\r"},
      {"Rdt000", "\nNG\r"},    // three digits
      {"Rdt00000", "\nNG\r"},  // five digits
      {"Rdt00a1", "\nNG\r"},
      {"Rdt-001", "\nNG\r"},
      {"Cget", "\n20261231235958\r"},
      {"Calm1", "\nOK\r"},
      {"Calm2", "\nOK\r"},
      {"Calm3", "\nNG\r"},
      {"Cset2008041422000", "\nNG\r"},   // 13 characters
      {"Cset200804142200000", "\nNG\r"}, // 15 characters
      {"Cset2008023010000", "\nNG\r"},
      {"Cset20080230100000", "\nNG\r"},  // 30 February
      {"CsetABCDEFGHIJKLMN", "\nNG\r"},
      {"Wmem0123456789abcde", "\nNG\r"}, // 15 bytes
      {"Wmem0123456789abcdefg", "\nNG\r"},
      {"rmem", "\nNG\r"},
      {"Rmem ", "\nNG\r"},
      {"", "\nNG\r"},
      {"\nRmem", "\nNG\r"},
  };
  for (const Case& c : cases) {
    Logger logger(SmallData());
    EXPECT_EQ(logger.Answer(c.line, 0), c.reply) << EscapeLine(c.line);
  }
}

TEST(LoggerSimProtocol, ChangesAreStoredAndReadBack) {
  Logger logger(SmallData());
  const std::string sjisMemo = "\x93\x63\x82\xf1\x82\xda A-2      ";  // Shift-JIS, 16 bytes
  ASSERT_EQ(sjisMemo.size(), 16u);
  EXPECT_EQ(logger.Answer("Wmem" + sjisMemo, 0), kOk);
  EXPECT_EQ(logger.Answer("Rmem", 0), "\n" + sjisMemo + "\r");
  EXPECT_EQ(logger.Answer("Calm1", 0), kOk);
  EXPECT_EQ(logger.Period(), 1);
  EXPECT_EQ(logger.Answer("Calm2", 0), kOk);
  EXPECT_EQ(logger.Period(), 2);
}

TEST(LoggerSimProtocol, ClockRunsOnFromStartAndFromEachSet) {
  Logger logger(SmallData());
  // Across the year's end: 23:59:58 plus 2.5 s.
  EXPECT_EQ(logger.Answer("Cget", 2500), "\n20270101000000\r");
  EXPECT_EQ(logger.Answer("Cset20080228235930", 10000), kOk);
  EXPECT_EQ(logger.Answer("Cget", 10999), "\n20080228235930\r");
  EXPECT_EQ(logger.Answer("Cget", 40000), "\n20080229000000\r");  // 2008 is a leap year
  EXPECT_EQ(logger.Answer("Cset20090228235959", 0), kOk);
  EXPECT_EQ(logger.Answer("Cget", 1000), "\n20090301000000\r");
}

TEST(LoggerSimProtocol, RefusedAcksChangeNothing) {
  LoggerData d = SmallData();
  d.refuseAcks = true;
  Logger logger(d);
  for (const char* line : {"Cset20080414220000", "Wmem0123456789abcdef", "Calm1", "Calm2"})
    EXPECT_EQ(logger.Answer(line, 0), kRefusal) << line;
  EXPECT_EQ(logger.Answer("Rmem", 0), "\nPADDY A-1       \r");
  EXPECT_EQ(logger.Answer("Cget", 0), "\n20261231235958\r");
  EXPECT_EQ(logger.Period(), 0);
}

TEST(LoggerSimProtocol, PointerTextReplacesTheCount) {
  for (const char* text : {"0", "12000", "abc", ""}) {
    LoggerData d = SmallData();
    d.pointerText = text;
    Logger logger(d);
    EXPECT_EQ(logger.Answer("Rpt", 0), std::string("\n") + text + "\r");
    EXPECT_EQ(logger.Answer("Rdt0002", 0), "\n0FFF\r") << "the words themselves stay";
  }
}

TEST(LoggerSimProtocol, LineAssemblerSplitsAtCrAndBoundsLongLines) {
  LineAssembler a;
  std::vector<std::string> lines;
  std::vector<bool> overLong;
  const std::string input = "Rmem\rRd" "t0001\r\r" + std::string(64, 'x') + "\r" +
                            std::string(65, 'y') + "\r" + std::string(5000, 'z') + "\rRpt\r";
  for (char c : input)
    if (a.Feed(c)) {
      lines.push_back(a.Line());
      overLong.push_back(a.OverLong());
      if (a.OverLong()) {
        EXPECT_EQ(a.Line().size(), kMaxLine);
      }
    }
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "Rmem");
  EXPECT_EQ(lines[1], "Rdt0001");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], std::string(64, 'x'));
  EXPECT_EQ(overLong, (std::vector<bool>{false, false, false, false, true, true, false}));
  EXPECT_EQ(lines[6], "Rpt") << "a line after a long one is whole again";
  EXPECT_FALSE(a.OverLong());
}

TEST(LoggerSimProtocol, EscapeLineKeepsPrintableAsciiOnly) {
  EXPECT_EQ(EscapeLine("Rdt0001"), "Rdt0001");
  EXPECT_EQ(EscapeLine(std::string("a\r\n\0\\\x7f\x93~", 8)), "a\\r\\x0A\\x00\\x5C\\x7F\\x93~");
}

TEST(LoggerSimSeason, IsRepeatableAndLooksLikeAPaddy) {
  const CivilTime start{2008, 4, 14, 6, 0, 0};
  const auto season = MakeSeason(start, 2400, 1);
  ASSERT_EQ(season.size(), 2400u);
  EXPECT_EQ(season, MakeSeason(start, 2400, 1));
  EXPECT_NE(season, MakeSeason(start, 2400, 2));
  const auto shorter = MakeSeason(start, 100, 1);
  EXPECT_TRUE(std::equal(shorter.begin(), shorter.end(), season.begin()))
      << "a shorter run is a prefix of a longer one";
  EXPECT_TRUE(MakeSeason(start, 0, 1).empty());

  std::set<int> bands;
  int dry = 0;
  double firstWeek = 0, lastWeek = 0;
  for (std::size_t i = 0; i < season.size(); ++i) {
    const std::uint16_t w = season[i];
    EXPECT_EQ(w & 0xB000, 0) << "bits 12, 13 and 15 stay clear, word " << i;
    const double t = ((w >> 4) & 0xFF) + (w & 0xF) / 16.0;
    bands.insert(t < 20 ? 0 : t < 25 ? 1 : t < 30 ? 2 : t < 35 ? 3 : 4);
    dry += (w & kNoWaterBit) != 0;
    if (i < 168) firstWeek += t;
    if (i >= season.size() - 168) lastWeek += t;
  }
  EXPECT_EQ(bands.size(), 5u);
  EXPECT_GT(dry, 24);
  EXPECT_LT(dry, 600);
  EXPECT_GT(lastWeek - firstWeek, 168 * 8.0) << "spring into summer";
}

TEST(LoggerSimSeason, EncodesTemperatureWords) {
  EXPECT_EQ(EncodeTemperature(25.0, false), 0x0190);
  EXPECT_EQ(EncodeTemperature(25.25, true), 0x4194);
  EXPECT_EQ(EncodeTemperature(-3.0, false), 0x0000);
  EXPECT_EQ(EncodeTemperature(300.0, true), 0x4FFF);
}

TEST(LoggerSimSeason, ParsesCompactTimes) {
  struct Case {
    const char* text;
    std::size_t digits;
    bool ok;
  };
  const Case cases[] = {
      {"200804140600", 12, true},   {"200002290000", 12, true},   {"190002290000", 12, false},
      {"200804142400", 12, false},  {"200813140600", 12, false},  {"200804310600", 12, false},
      {"20080414060", 12, false},   {"2008041406000", 12, false}, {"2008o4140600", 12, false},
      {"20081231235959", 14, true}, {"20081231235960", 14, false}, {"200812312359", 14, false},
  };
  for (const Case& c : cases) {
    CivilTime t;
    EXPECT_EQ(ParseCompactTime(c.text, c.digits, t), c.ok) << c.text;
  }
  CivilTime t;
  ASSERT_TRUE(ParseCompactTime("20080414220000", 14, t));
  EXPECT_EQ(FormatStartRecord(t), "STR:200804142200");
  EXPECT_EQ(FormatClock(CivilFromSeconds(SecondsFromCivil(t) + 7200)), "20080415000000");
}

TEST(LoggerSimSeason, WordFilesLoadExactlyOrNameTheBadLine) {
  std::vector<std::uint16_t> words;
  std::string error;
  ASSERT_TRUE(ParseWords("0190\n4194\r\n\n  0x0fff \nffff\n0\n", words, error));
  EXPECT_EQ(words, (std::vector<std::uint16_t>{0x0190, 0x4194, 0x0FFF, 0xFFFF, 0}));
  EXPECT_EQ(FormatWords(words), "0190\n4194\n0FFF\nFFFF\n0000\n");
  ASSERT_TRUE(ParseWords(FormatWords(words), words, error));
  EXPECT_EQ(words.size(), 5u);

  const std::pair<const char*, const char*> bad[] = {
      {"0190\n10000\n", "line 2"}, {"0190\nxyz\n", "line 2"}, {"\n\n0x\n", "line 3"},
      {"12 34\n", "line 1"},       {"-1\n", "line 1"},
  };
  for (const auto& [text, where] : bad) {
    words = {1};
    EXPECT_FALSE(ParseWords(text, words, error)) << text;
    EXPECT_NE(error.find(where), std::string::npos) << error;
    EXPECT_EQ(words, std::vector<std::uint16_t>{1}) << "left untouched on failure";
  }
  std::string many;
  for (int i = 0; i < kMaxSamples + 1; ++i) many += "1\n";
  EXPECT_FALSE(ParseWords(many, words, error));
}

TEST(LoggerSimFaults, GarbleNeverPassesForAReply) {
  for (std::uint64_t seed = 0; seed < 200; ++seed) {
    Rng rng(seed);
    const std::string open = Garble(20, false, rng);
    const std::string ended = Garble(20, true, rng);
    ASSERT_EQ(open.size(), 20u);
    ASSERT_EQ(ended.size(), 20u);
    EXPECT_EQ(open.find('\r'), std::string::npos);
    EXPECT_EQ(open.find('\0'), std::string::npos);
    EXPECT_NE(open[0], '\n');
    EXPECT_NE(ended[0], '\n');
    EXPECT_EQ(ended.find('\r'), 19u);
  }
  Rng a(7), b(7);
  EXPECT_EQ(Garble(30, false, a), Garble(30, false, b));
}

TEST(LoggerSimFaults, NoiseNulAndSplitShapes) {
  Rng rng(3);
  const std::string noise = Noise(500, rng);
  ASSERT_EQ(noise.size(), 500u);
  for (char c : noise) EXPECT_TRUE(c > 0x20 && c < 0x7F);

  EXPECT_EQ(WithNul("\nOK\r"), std::string("\n\0OK\r", 5));
  EXPECT_EQ(WithNul("OK\r"), std::string("\0OK\r", 4));

  std::set<std::size_t> pieceCounts;
  for (int i = 0; i < 100; ++i) {
    const auto pieces = SplitReply("\nSTR:200804142200\r", rng);
    std::string joined;
    for (const auto& p : pieces) {
      EXPECT_FALSE(p.empty());
      joined += p;
    }
    EXPECT_EQ(joined, "\nSTR:200804142200\r");
    pieceCounts.insert(pieces.size());
  }
  EXPECT_EQ(pieceCounts, (std::set<std::size_t>{2, 3}));
  EXPECT_EQ(SplitReply("\r", rng), std::vector<std::string>{"\r"});
  EXPECT_EQ(SplitReply("\n\r", rng), (std::vector<std::string>{"\n", "\r"}));
}

TEST(LoggerSimFaults, LineSettingsThatMatchTheLogger) {
  struct Case {
    speed_t speed;
    tcflag_t set, clear;
    bool ok;
  };
  const Case cases[] = {
      {B9600, CS8 | PARENB, PARODD | CSTOPB, true},
      {B19200, CS8 | PARENB, PARODD | CSTOPB, true},
      {B38400, CS8 | PARENB, PARODD | CSTOPB, false},
      {B4800, CS8 | PARENB, PARODD | CSTOPB, false},
      {B9600, CS8 | PARENB | PARODD, CSTOPB, false},
      {B9600, CS8 | PARENB | CSTOPB, PARODD, false},
      {B9600, CS7 | PARENB, PARODD | CSTOPB, false},
  };
  for (const Case& c : cases) {
    termios t{};
    t.c_cflag = CREAD;
    t.c_cflag = (t.c_cflag & ~CSIZE & ~c.clear) | c.set;
    cfsetispeed(&t, c.speed);
    cfsetospeed(&t, c.speed);
    EXPECT_EQ(LineMatchesLogger(t), c.ok) << std::hex << t.c_cflag;
  }
  termios t{};
  cfsetospeed(&t, B9600);
  EXPECT_EQ(ByteTimeMicros(t), 1145u);
  cfsetospeed(&t, B19200);
  EXPECT_EQ(ByteTimeMicros(t), 572u);
}

TEST(LoggerSimOptions, ParsesOrRefusesWithAMessage) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({"--link", "/tmp/x", "--samples", "0", "--start", "200804142200",
                            "--pointer", "abc", "--noise", "200", "--drop-first", "--seed", "9",
                            "--hangup-after", "3", "--clock", "20081231235959"},
                           o, error))
      << error;
  EXPECT_EQ(o.link, "/tmp/x");
  EXPECT_EQ(o.samples, 0);
  EXPECT_EQ(FormatStartRecord(o.start), "STR:200804142200");
  EXPECT_EQ(o.pointer, "abc");
  EXPECT_EQ(o.noise, 200);
  EXPECT_TRUE(o.dropFirst);
  EXPECT_EQ(o.seed, 9u);
  EXPECT_EQ(o.hangupAfter, 3);
  ASSERT_TRUE(o.clock.has_value());
  EXPECT_EQ(FormatClock(*o.clock), "20081231235959");
  EXPECT_EQ(o.spoilKinds.size(), std::size(kAllSpoilKinds)) << "all kinds unless told";
  ASSERT_TRUE(ParseOptions({"--spoil", "2.5", "--spoil-kinds", "nul,silent", "--spoil-always",
                            "7", "--spoil-always", "9"}, o, error)) << error;
  EXPECT_EQ(o.spoilPercent, 2.5);
  EXPECT_EQ(o.spoilKinds, (std::vector<SpoilKind>{SpoilKind::kNul, SpoilKind::kSilent}));
  EXPECT_EQ(o.spoilAlways, (std::vector<int>{7, 9}));

  const std::vector<std::vector<std::string>> bad = {
      {"--samples", "10001"}, {"--samples", "-1"},       {"--samples", "12x"},
      {"--start", "2008041422"}, {"--start", "200802300000"}, {"--clock", "200812312359"},
      {"--delay"},             {"--exit-after", "0"},    {"--exit-after", "abc"},
      {"--bogus"},             {"--link", ""},           {"--pointer", "1\r2"},
      {"--words", "w.txt", "--samples", "5"},
      {"--spoil", "100.5"},    {"--spoil", "-1"},        {"--spoil", "nan"},
      {"--spoil-kinds", ""},   {"--spoil-kinds", "nul,"}, {"--spoil-kinds", "letter"},
      {"--spoil-always", "10000"},
  };
  for (const auto& args : bad) {
    Options fresh;
    error.clear();
    EXPECT_FALSE(ParseOptions(args, fresh, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
  Options v;
  ASSERT_TRUE(ParseOptions({"--version", "--samples", "5"}, v, error)) << error;
  EXPECT_TRUE(v.version);
  EXPECT_FALSE(o.version);
  EXPECT_EQ(PadMemo("abc"), "abc             ");
  EXPECT_EQ(PadMemo("0123456789abcdefXYZ"), "0123456789abcdef");
}

}  // namespace
}  // namespace sim
