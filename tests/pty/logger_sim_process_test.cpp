// The simulator as a program: its options and exit status, the link, the word files, and what a
// plain raw client sees of pacing, delays and over-long lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "serial/posix/serial_device_posix.h"
#include "sim_child.h"
#include "sim_protocol.h"
#include "sim_season.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long MsSince(Clock::time_point begin) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - begin).count();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A client with nothing of the program in it: raw 8E1 at `speed`.
class RawClient {
 public:
  RawClient(const std::string& path, speed_t speed) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return;
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    t.c_cflag |= PARENB | CLOCAL | CREAD;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    tcsetattr(fd_, TCSANOW, &t);
  }
  ~RawClient() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  // Sends `command` and gathers bytes until a CR or `limitMs`; `ms` is the time to the CR.
  std::string Ask(const std::string& command, long long& ms, int limitMs = 3000) {
    std::string reply;
    const Clock::time_point begin = Clock::now();
    if (write(fd_, command.data(), command.size()) != static_cast<ssize_t>(command.size())) return reply;
    while (reply.find('\r') == std::string::npos && MsSince(begin) < limitMs) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      char buf[256];
      const ssize_t n = read(fd_, buf, sizeof buf);
      if (n > 0) reply.append(buf, static_cast<std::size_t>(n));
    }
    ms = MsSince(begin);
    return reply;
  }

 private:
  int fd_ = -1;
};

class LoggerSimProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pt-sim-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override {
    sim_.Stop();
    for (const char* name : {"/tty", "/transcript", "/words", "/dump", "/file"})
      unlink((dir_ + name).c_str());
    rmdir(dir_.c_str());
  }
  std::string Path(const char* name) const { return dir_ + "/" + name; }
  void Start(std::vector<std::string> args) {
    args.insert(args.end(), {"--link", Path("tty"), "--transcript", Path("transcript"),
                             "--exit-after", "30"});
    ASSERT_TRUE(sim_.Start(PT_LOGGER_SIM_PATH, args, 5000));
  }

  std::string dir_;
  sim::SimChild sim_;
};

TEST_F(LoggerSimProcess, BadOptionsExitWithTwoAndSayWhy) {
  std::ofstream(Path("words")) << "0190\nnot-hex\n";
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option"},
      {{"--samples", "10001"}, "--samples"},
      {{"--start", "2008041422"}, "--start"},
      {{"--delay"}, "needs a value"},
      {{"--words", Path("missing")}, "cannot read"},
      {{"--words", Path("words")}, "line 2"},
  };
  for (const Case& c : cases) {
    std::string err;
    EXPECT_EQ(sim::RunToEnd(PT_LOGGER_SIM_PATH, c.args, 5000, err), 2) << c.args[0];
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
  }
  std::string err;
  EXPECT_EQ(sim::RunToEnd(PT_LOGGER_SIM_PATH, {"--help"}, 5000, err), 0);
}

TEST_F(LoggerSimProcess, ReplacesAStaleLinkAndRemovesItOnSigterm) {
  ASSERT_EQ(symlink("/dev/pts/no-such-terminal", Path("tty").c_str()), 0);
  Start({});
  char target[256] = {};
  ASSERT_GT(readlink(Path("tty").c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(sim_.TtyPath(), target);
  EXPECT_EQ(sim_.Stop(), 0);
  struct stat st{};
  EXPECT_NE(lstat(Path("tty").c_str(), &st), 0) << "the link outlived the simulator";
}

TEST_F(LoggerSimProcess, RefusesToReplaceAFileAndEndsByItselfWhenTold) {
  std::ofstream(Path("file")) << "keep me";
  std::string err;
  EXPECT_EQ(sim::RunToEnd(PT_LOGGER_SIM_PATH, {"--link", Path("file")}, 5000, err), 1);
  EXPECT_EQ(ReadAll(Path("file")), "keep me");

  ASSERT_TRUE(sim_.Start(PT_LOGGER_SIM_PATH, {"--exit-after", "0.3"}, 5000));
  EXPECT_EQ(sim_.Wait(3000), 0);
}

TEST_F(LoggerSimProcess, DumpsExactlyTheWordsItServes) {
  const std::string words = "0190\n4194\n0FFF\n";
  std::ofstream(Path("words")) << "0x190\n\n4194\r\n0fff\n";
  Start({"--words", Path("words"), "--dump-words", Path("dump")});
  EXPECT_EQ(ReadAll(Path("dump")), words);
  RawClient client(Path("tty"), B19200);
  ASSERT_TRUE(client.ok());
  long long ms = 0;
  EXPECT_EQ(client.Ask("Rpt\r", ms), "\n3\r");
  EXPECT_EQ(client.Ask("Rdt0001\r", ms), "\n4194\r");
  sim_.Stop();

  // The default season: 2400 words, the same each run.
  Start({"--dump-words", Path("dump")});
  const std::string season = ReadAll(Path("dump"));
  EXPECT_EQ(season, sim::FormatWords(sim::MakeSeason({2008, 4, 14, 6, 0, 0}, 2400, 1)));
  EXPECT_EQ(season.size(), 2400u * 5);
}

TEST_F(LoggerSimProcess, PacingAndDelayHoldTheReplyBack) {
  struct Case {
    std::vector<std::string> args;
    speed_t speed;
    long long atLeastMs;
  };
  // "\nPADDY A-1       \r" is 18 bytes: 20.6 ms at 9600, 10.3 ms at 19200.
  const Case cases[] = {
      {{"--pace"}, B9600, 20},
      {{"--pace"}, B19200, 10},
      {{"--delay", "300"}, B9600, 300},
  };
  for (const Case& c : cases) {
    Start(c.args);
    RawClient client(Path("tty"), c.speed);
    ASSERT_TRUE(client.ok());
    long long ms = 0;
    EXPECT_EQ(client.Ask("Rmem\r", ms), "\nPADDY A-1       \r") << c.args[0];
    EXPECT_GE(ms, c.atLeastMs) << c.args[0];
    sim_.Stop();
  }
}

TEST_F(LoggerSimProcess, OverLongLinesAreRefusedAndLoggedCut) {
  Start({});
  RawClient client(Path("tty"), B9600);
  ASSERT_TRUE(client.ok());
  long long ms = 0;
  EXPECT_EQ(client.Ask(std::string(100, 'A') + "\r", ms), "\nNG\r");
  EXPECT_EQ(client.Ask("Rpt\r", ms), "\n2400\r") << "the next line is whole again";
  std::istringstream transcript(ReadAll(Path("transcript")));
  std::vector<long long> times;
  std::vector<std::string> lines;
  long long t;
  std::string rest;
  while (transcript >> t && std::getline(transcript, rest)) {
    times.push_back(t);
    lines.push_back(rest);
  }
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], " " + std::string(64, 'A') + "\\r [over-long: 100 bytes]");
  EXPECT_EQ(lines[1], " Rpt\\r");
  EXPECT_LE(times[0], times[1]);
}

// Two clients of the program's own kind (TIOCEXCL and flock) open at the same instant: one
// gets EBUSY, and the loser's close must not undo the winner's line settings.
TEST_F(LoggerSimProcess, OfTwoOpensAtOnceOneIsBusyAndTheOtherGetsACleanLine) {
  Start({});
  const pt::LineSettings line{9600, 2, 8, 0};
  const Clock::time_point end = Clock::now() + milliseconds(8000);
  int tries = 0;
  for (; tries < 50 && Clock::now() < end; ++tries) {
    pt::PosixSerialDevice dev[2];
    int result[2] = {-1, -1};
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    auto open = [&](int k) {
      ++ready;
      while (!go) {
      }
      result[k] = dev[k].Open(Path("tty").c_str());
    };
    std::thread a(open, 0), b(open, 1);
    while (ready < 2) {
    }
    go = true;
    a.join();
    b.join();
    const int w = result[0] == 0 ? 0 : 1;
    ASSERT_EQ(result[w], 0) << "try " << tries;
    ASSERT_EQ(result[1 - w], EBUSY) << "try " << tries;
    ASSERT_EQ(dev[w].Configure(line), pt::ConfigureError::None);
    usleep(10000);  // time for the simulator to see the loser's close
    ASSERT_TRUE(dev[w].Write("Rmem\r", 5));
    std::string reply;
    for (const Clock::time_point until = Clock::now() + milliseconds(2000);
         reply.find('\r') == std::string::npos && Clock::now() < until;) {
      pollfd p{dev[w].fd(), POLLIN, 0};
      char buf[64];
      std::uint32_t got = 0;
      if (poll(&p, 1, 20) > 0 && dev[w].Read(buf, sizeof buf, got)) reply.append(buf, got);
    }
    ASSERT_EQ(reply, "\nPADDY A-1       \r") << "try " << tries;
    dev[w].Close();
    usleep(10000);  // and the winner's, before the next pair
  }
  EXPECT_GE(tries, 20);
}

// The rule the program is being taught: LF, 1 to 8 hex digits, CR, nothing else but white space.
bool StrictSample(const std::string& r) {
  const std::size_t lf = r.find('\n'), cr = r.find('\r');
  const auto blank = [&](std::size_t from, std::size_t to) {
    return r.find_first_not_of(" \t\v\f\r\n", from) >= to;
  };
  return lf != std::string::npos && cr != std::string::npos && cr > lf + 1 && cr <= lf + 9 &&
         blank(0, lf) && blank(cr, r.size()) &&
         r.find_first_not_of("0123456789ABCDEFabcdef", lf + 1) == cr;
}

// The "spoilt <index> <kind>" lines of the transcript, without their times.
std::vector<std::string> Spoilt(const std::string& transcript) {
  std::vector<std::string> out;
  for (const std::string& line : sim::ReadTranscriptCommands(transcript))
    if (line.rfind("spoilt ", 0) == 0) out.push_back(line);
  return out;
}

TEST_F(LoggerSimProcess, EachSpoilKindMalformsTheFirstAskOnlyAndIsLogged) {
  const std::vector<std::string> words = {"1A2F", "0190", "4194", "0FFF", "FFFF", "0000", "0A0A", "3C3C"};
  std::string file;
  for (const std::string& w : words) file += w + "\n";
  std::ofstream(Path("words")) << file;
  const auto isHigh = [](char c) { return static_cast<unsigned char>(c) >= 0x80; };
  // Whether `r` is `clean` spoilt that way.
  const std::pair<const char*, std::function<bool(const std::string&, const std::string&)>> kinds[] = {
      {"letters", [](const std::string& r, const std::string& clean) {
         int changed = 0;
         for (std::size_t i = 0; r.size() == clean.size() && i < r.size(); ++i)
           if (r[i] != clean[i]) changed += r[i] >= 'G' && r[i] <= 'Z' ? 1 : 100;
         return changed == 1;
       }},
      {"stray-byte", [](const std::string& r, const std::string& clean) {
         return r.size() == clean.size() + 1 && r.substr(1) == clean && r[0] > ' ' && r[0] < 0x7F &&
                !std::isxdigit(static_cast<unsigned char>(r[0]));
       }},
      {"stray-digit", [](const std::string& r, const std::string& clean) {
         return r.size() == clean.size() + 1 && r.substr(1) == clean && std::isdigit(static_cast<unsigned char>(r[0]));
       }},
      {"high-byte", [&](const std::string& r, const std::string& clean) {
         const auto high = std::find_if(r.begin(), r.end(), isHigh);
         if (std::count_if(r.begin(), r.end(), isHigh) != 1 || high == r.begin() || high + 1 == r.end())
           return false;
         std::string without = r, replaced = r;
         without.erase(high - r.begin(), 1);
         replaced[high - r.begin()] = clean[high - r.begin()];
         return without == clean || (r.size() == clean.size() && replaced == clean);
       }},
      {"nul", [](const std::string& r, const std::string& clean) {
         return r == "\n" + std::string(1, '\0') + clean.substr(1);
       }},
      {"silent", [](const std::string& r, const std::string&) { return r.empty(); }},
  };
  for (const auto& [kind, spoilt] : kinds) {
    Start({"--words", Path("words"), "--spoil", "100", "--spoil-kinds", kind});
    RawClient client(Path("tty"), B9600);
    ASSERT_TRUE(client.ok());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < words.size(); ++i) {
      const std::string ask = "Rdt000" + std::to_string(i) + "\r", clean = "\n" + words[i] + "\r";
      long long ms = 0;
      const std::string first = client.Ask(ask, ms, kind == std::string("silent") ? 150 : 2000);
      EXPECT_TRUE(spoilt(first, clean)) << kind << ": " << sim::EscapeLine(first);
      EXPECT_FALSE(StrictSample(first)) << kind << ": " << sim::EscapeLine(first);
      EXPECT_EQ(client.Ask(ask, ms), clean) << kind << ": the repeat is clean";
      expected.push_back("spoilt " + std::to_string(i) + " " + kind);
    }
    EXPECT_EQ(Spoilt(Path("transcript")), expected);
    sim_.Stop();
  }
}

TEST_F(LoggerSimProcess, SpoilsItsShareOfSamplesTheSameWayForTheSameSeed) {
  // Each run asks every sample once, the whole download twice; no silent kind, to keep it quick.
  const auto run = [&](const char* seed, int downloads) {
    Start({"--samples", "1000", "--spoil", "3", "--seed", seed, "--spoil-kinds",
           "letters,stray-byte,stray-digit,high-byte,nul"});
    RawClient client(Path("tty"), B9600);
    long long ms = 0;
    for (int d = 0; d < downloads; ++d)
      for (int i = 0; i < 1000; ++i) {
        char ask[16];
        std::snprintf(ask, sizeof ask, "Rdt%04d\r", i);
        client.Ask(ask, ms);
      }
    sim_.Stop();
    return Spoilt(Path("transcript"));
  };
  const std::vector<std::string> twice = run("5", 2), again = run("5", 1), other = run("6", 1);
  ASSERT_EQ(twice.size(), 2 * again.size());
  EXPECT_TRUE(std::equal(again.begin(), again.end(), twice.begin())) << "first download";
  EXPECT_TRUE(std::equal(again.begin(), again.end(), twice.begin() + again.size())) << "second";
  EXPECT_GE(again.size(), 15u);
  EXPECT_LE(again.size(), 45u);
  std::set<std::string> kinds;
  for (const std::string& s : again) kinds.insert(s.substr(s.rfind(' ') + 1));
  EXPECT_EQ(kinds.size(), 5u) << "every kind asked for is used";
  EXPECT_NE(again, other);
  EXPECT_GE(other.size(), 15u);
  EXPECT_LE(other.size(), 45u);
}

TEST_F(LoggerSimProcess, SpoilAlwaysSpoilsEveryAskOfThatSample) {
  std::ofstream(Path("words")) << "0190\n4194\n0FFF\n";
  Start({"--words", Path("words"), "--spoil-always", "1"});
  RawClient client(Path("tty"), B9600);
  long long ms = 0;
  for (int ask = 0; ask < 3; ++ask) {
    const std::string r = client.Ask("Rdt0001\r", ms);
    EXPECT_FALSE(StrictSample(r)) << sim::EscapeLine(r);
    EXPECT_EQ(r.size(), 6u) << sim::EscapeLine(r);
  }
  EXPECT_EQ(client.Ask("Rdt0000\r", ms), "\n0190\r");
  EXPECT_EQ(client.Ask("Rdt0002\r", ms), "\n0FFF\r");
  EXPECT_EQ(Spoilt(Path("transcript")),
            std::vector<std::string>(3, "spoilt 1 letters"));
}

}  // namespace
