// The real command exchange over the real POSIX serial backend against the simulated logger on a
// pseudo-terminal, stepped every 10 ms of real time with the reply timer on a real clock.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "control_ids.h"
#include "logger/exchange.h"
#include "logger/tick.h"
#include "serial/port.h"
#include "serial/posix/serial_device_posix.h"
#include "sim_child.h"
#include "support/fake_dialog.h"
#include "support/real_time.h"
#include "app/program_state.h"

namespace pt {
namespace {

void SleepMs(int ms) {
  timespec ts{ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&ts, nullptr);
}

using ExchangeFn = int (*)(Dialog&, int, const char*, char*);

struct Outcome {
  int result = 99;       // 99: still running when the test gave up
  long long ms = 0;      // from the begin to the result
  std::string reply;
};

class ExchangeSim : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pt-exchange-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    ResetProgramState();
    device_.SetComDirectory(dir_);
  }

  void TearDown() override {
    ClosePort();
    sim_.Stop();
    for (const char* name : {"/COM1", "/transcript", "/words"}) unlink((dir_ + name).c_str());
    rmdir(dir_.c_str());
  }

  // Starts the simulator as COM1 of the test's folder and opens it at 9600 baud, 8E1.
  void Start(std::vector<std::string> args) {
    const std::vector<std::string> common = {"--link", dir_ + "/COM1", "--transcript",
                                             dir_ + "/transcript", "--exit-after", "60",
                                             "--memo", "PADDY A-1", "--start", "200804142200"};
    args.insert(args.begin(), common.begin(), common.end());
    ASSERT_TRUE(sim_.Start(PT_LOGGER_SIM_PATH, args, 5000)) << "the simulator did not start";
    Open();
  }

  void Open() {
    Port.Settings.speed = 4;  // 9600
    ASSERT_EQ(OpenPort(dlg_), 0) << (dlg_.boxes.empty() ? "" : dlg_.boxes.back().text);
    ASSERT_EQ(dlg_.Text(IDC_PORT_STATUS), "[COM1,9600,8,E,1]");
  }

  void WriteWords(const std::string& text) {
    std::ofstream(dir_ + "/words") << text;
  }

  // One exchange from its begin to its result, a step every 10 ms, the reply timer delivered as
  // the message loop would deliver it.
  Outcome Run(ExchangeFn fn, const std::string& command, int limitMs = 6000) {
    char reply[kReplyBufferSize + 8];
    std::memset(reply, 0x55, sizeof reply);  // a guard behind the buffer
    reply[0] = '\0';
    Outcome out;
    const long long begin = test::MonotonicNowMs();
    const long long origin = begin - dlg_.now;  // the dialog's clock goes on across exchanges
    fn(dlg_, 0, command.c_str(), reply);
    while (test::MonotonicNowMs() - begin < limitMs) {
      SleepMs(10);
      dlg_.now = test::MonotonicNowMs() - origin;
      for (const int id : {kReplyTimerId, kSettleTimerId}) {
        auto t = dlg_.timers.find(id);
        if (t != dlg_.timers.end() && t->second.due <= dlg_.now) HandleTimer(dlg_, static_cast<unsigned>(id));
      }
      const int r = fn(dlg_, 1, command.c_str(), reply);
      if (r != 0) {
        out.result = r;
        break;
      }
    }
    out.ms = test::MonotonicNowMs() - begin;
    for (int i = kReplyBufferSize; i < kReplyBufferSize + 8; ++i)
      EXPECT_EQ(reply[i], 0x55) << "the reply buffer was overrun";
    out.reply.assign(reply, strnlen(reply, kReplyBufferSize));
    return out;
  }

  // The command lines the simulator received, without their times.
  std::vector<std::string> Transcript() { return sim::ReadTranscriptCommands(dir_ + "/transcript"); }

  std::string dir_;
  test::FakeDialog dlg_;
  PosixSerialDevice device_;
  ScopedPortDevice installDevice_{&device_};
  sim::SimChild sim_;
};

TEST_F(ExchangeSim, EachCommandGetsItsReplyByteForByte) {
  WriteWords("0190\n4194\n0FFF\n");
  Start({"--words", dir_ + "/words", "--clock", "20080414220000"});
  struct Case {
    ExchangeFn fn;
    const char* command;
    int result;
    std::string reply;
  };
  const Case cases[] = {
      {ReplyExchange, "Rmem\r", 1, "\nPADDY A-1       \r"},
      {ReplyExchange, "Rstr\r", 1, "\nSTR:200804142200\r"},
      {ReplyExchange, "Rpt\r", 1, "\n3\r"},
      {ReplyExchange, "Rdt0000\r", 1, "\n0190\r"},
      {ReplyExchange, "Rdt0001\r", 1, "\n4194\r"},
      {ReplyExchange, "Rdt0002\r", 1, "\n0FFF\r"},
      {ReplyExchange, "Rdt0003\r", 1, "\nNG\r"},  // a data reply is taken whatever it says
      {AckExchange, "Cset20090101000000\r", 1, "\nOK\r"},
      {AckExchange, "Wmem\x93\x63\x82\xf1\x82\xda A-2      \r", 1, "\nOK\r"},
      {ReplyExchange, "Rmem\r", 1, "\n\x93\x63\x82\xf1\x82\xda A-2      \r"},
      {AckExchange, "Calm1\r", 1, "\nOK\r"},
      {AckExchange, "Calm2\r", 1, "\nOK\r"},
  };
  for (const Case& c : cases) {
    const Outcome o = Run(c.fn, c.command);
    EXPECT_EQ(o.result, c.result) << c.command;
    EXPECT_EQ(o.reply, c.reply) << c.command;
    EXPECT_LT(o.ms, 900) << c.command << " was not answered at the first send";
  }
  // The clock runs on from the Cset above.
  const Outcome clock = Run(ReplyExchange, "Cget\r");
  EXPECT_EQ(clock.result, 1);
  EXPECT_EQ(clock.reply.substr(0, 13), "\n200901010000");
  EXPECT_EQ(clock.reply.size(), 16u);

  // The program closes the port after each job and opens it for the next, a tick or more
  // later: the line still works.
  ClosePort();
  SleepMs(50);
  Open();
  EXPECT_EQ(Run(ReplyExchange, "Rpt\r").reply, "\n3\r");

  const std::vector<std::string> expected = {
      "Rmem\\r", "Rstr\\r", "Rpt\\r", "Rdt0000\\r", "Rdt0001\\r", "Rdt0002\\r", "Rdt0003\\r",
      "Cset20090101000000\\r", "Wmem\\x93c\\x82\\xF1\\x82\\xDA A-2      \\r", "Rmem\\r", "Calm1\\r",
      "Calm2\\r", "Cget\\r", "Rpt\\r"};
  EXPECT_EQ(Transcript(), expected);
}

TEST_F(ExchangeSim, UnknownCommandIsRefusedAndAckGivesUpAfterTheResend) {
  Start({});
  const Outcome o = Run(AckExchange, "Calm3\r");
  EXPECT_EQ(o.result, -2);
  EXPECT_EQ(o.reply, "\nNG\r");
  EXPECT_LT(o.ms, 900) << "a refusal is not a silence: no timer wait";
  EXPECT_EQ(Transcript(), (std::vector<std::string>{"Calm3\\r", "Calm3\\r"}));
}

TEST_F(ExchangeSim, SilentLoggerGetsTwoSendsAndMinusTwoAfterTwoSeconds) {
  Start({"--silent"});
  const Outcome o = Run(ReplyExchange, "Rmem\r");
  EXPECT_EQ(o.result, -2);
  EXPECT_GE(o.ms, 2000);
  EXPECT_LT(o.ms, 3000);
  EXPECT_EQ(o.reply, "");
  EXPECT_EQ(Transcript(), (std::vector<std::string>{"Rmem\\r", "Rmem\\r"}));
}

TEST_F(ExchangeSim, DroppedFirstCopyIsAnsweredAtTheResend) {
  Start({"--drop-first"});
  struct Case {
    ExchangeFn fn;
    const char* command;
    const char* reply;
  };
  const Case cases[] = {{ReplyExchange, "Rstr\r", "\nSTR:200804142200\r"},
                        {AckExchange, "Calm1\r", "\nOK\r"}};
  for (const Case& c : cases) {
    const Outcome o = Run(c.fn, c.command);
    EXPECT_EQ(o.result, 1) << c.command;
    EXPECT_EQ(o.reply, c.reply) << c.command;
    EXPECT_GE(o.ms, 1000) << c.command << ": the first wait times out";
    EXPECT_LT(o.ms, 1900) << c.command;
  }
  EXPECT_EQ(Transcript(),
            (std::vector<std::string>{"Rstr\\r", "Rstr\\r", "Calm1\\r", "Calm1\\r"}));
}

TEST_F(ExchangeSim, RefusedAcksAreSentTwiceThenFail) {
  Start({"--refuse-acks"});
  for (const char* command : {"Calm1\r", "Cset20090101000000\r", "Wmem0123456789abcdef\r"}) {
    const Outcome o = Run(AckExchange, command);
    EXPECT_EQ(o.result, -2) << command;
    EXPECT_EQ(o.reply, "\nNG\r") << command;
  }
  // Reads are not affected, and the memo was not changed.
  EXPECT_EQ(Run(ReplyExchange, "Rmem\r").reply, "\nPADDY A-1       \r");
  const std::vector<std::string> expected = {
      "Calm1\\r", "Calm1\\r", "Cset20090101000000\\r", "Cset20090101000000\\r",
      "Wmem0123456789abcdef\\r", "Wmem0123456789abcdef\\r", "Rmem\\r"};
  EXPECT_EQ(Transcript(), expected);
}

TEST_F(ExchangeSim, SplitRepliesAreGatheredPieceByPiece) {
  WriteWords("0190\n4194\n0FFF\n01C7\n");
  Start({"--split", "--words", dir_ + "/words"});
  const char* const words[] = {"0190", "4194", "0FFF", "01C7"};
  for (int i = 0; i < 4; ++i) {
    const std::string command = "Rdt000" + std::to_string(i) + "\r";
    const Outcome o = Run(ReplyExchange, command);
    EXPECT_EQ(o.result, 1) << command;
    EXPECT_EQ(o.reply, std::string("\n") + words[i] + "\r") << command;
    EXPECT_GE(o.ms, 30) << "the pieces come 30 ms apart";
  }
  const Outcome ack = Run(AckExchange, "Calm2\r");
  EXPECT_EQ(ack.result, 1);
  EXPECT_EQ(ack.reply, "\nOK\r");
  EXPECT_EQ(Transcript().size(), 5u) << "no resend was needed";
}

TEST_F(ExchangeSim, NoiseLongerThanTheReplyBufferNeverOverrunsIt) {
  Start({"--noise", "300"});
  const Outcome data = Run(ReplyExchange, "Rmem\r");
  EXPECT_EQ(data.result, 1);
  EXPECT_EQ(data.reply.size(), static_cast<std::size_t>(kReplyBufferSize - 1));
  EXPECT_EQ(data.reply.back(), '\r') << "the cut reply still ends in its CR";
  // Noise ahead of an acknowledgement hides its LF "OK": refused twice.
  const Outcome ack = Run(AckExchange, "Calm1\r");
  EXPECT_EQ(ack.result, -2);
  EXPECT_EQ(Transcript(), (std::vector<std::string>{"Rmem\\r", "Calm1\\r", "Calm1\\r"}));
}

TEST_F(ExchangeSim, NulInsideTheReplyLosesItsEnd) {
  Start({"--nul"});
  // The NUL ends the piece it came in; the CR behind it never reaches the reply.
  const Outcome o = Run(ReplyExchange, "Rpt\r");
  EXPECT_EQ(o.result, -2);
  EXPECT_EQ(o.reply, "\n");
  EXPECT_EQ(Transcript().size(), 2u);
}

TEST_F(ExchangeSim, HangUpEndsTheExchangeCleanly) {
  Start({"--hangup-after", "1"});
  EXPECT_EQ(Run(ReplyExchange, "Rmem\r").result, 1);
  const Outcome o = Run(ReplyExchange, "Rmem\r", 8000);
  EXPECT_LT(o.result, 0) << "got " << o.result;
  EXPECT_NE(o.result, 99);
  EXPECT_LT(o.ms, 3000);
  // The next job finds no port any more, and says so.
  ClosePort();
  dlg_.boxes.clear();
  EXPECT_EQ(OpenPort(dlg_), -1);
  EXPECT_EQ(dlg_.Text(IDC_PORT_STATUS), "[Disable]");
  EXPECT_EQ(dlg_.boxes.size(), 1u);
  EXPECT_EQ(Transcript(), (std::vector<std::string>{"Rmem\\r", "Rmem\\r", "hangup"}));
}

// The pty shows odd parity, two stop bits and the speed; the simulator then answers as a
// device at the wrong setting would.
TEST_F(ExchangeSim, WrongLineSettingsGiveGarbledReplies) {
  struct Case {
    const char* name;
    std::uint8_t parity, stopBits;
    bool ended;
    std::uint32_t rate;
  };
  const LineSettings asOpened{9600, 2, 8, 0};  // as OpenPort set it up
  const Case cases[] = {{"odd parity", 1, 0, false, 9600},
                        {"two stop bits", 2, 2, true, 9600},
                        {"4800 baud", 2, 0, false, 4800}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClosePort();
    sim_.Stop();
    std::vector<std::string> args;
    if (c.ended) args.push_back("--garble-ended");
    Start(args);
    LineSettings line = asOpened;
    line.parity = c.parity;
    line.stopBits = c.stopBits;
    line.baudRate = c.rate;
    ASSERT_EQ(device_.Configure(line), ConfigureError::None);
    const Outcome data = Run(ReplyExchange, "Rmem\r");
    if (c.ended) {
      // Garbage of the reply's length, ended by a CR: taken as data, but not the memo.
      EXPECT_EQ(data.result, 1);
      EXPECT_EQ(data.reply.size(), 18u);
      EXPECT_NE(data.reply, "\nPADDY A-1       \r");
      EXPECT_EQ(Run(AckExchange, "Calm1\r").result, -2) << "garbage is never an OK";
    } else {
      EXPECT_EQ(data.result, -2);
      EXPECT_GE(data.ms, 2000);
      EXPECT_EQ(data.reply.find('\r'), std::string::npos);
    }
    // Set right again, the same line answers properly.
    ASSERT_EQ(device_.Configure(asOpened), ConfigureError::None);
    EXPECT_EQ(Run(ReplyExchange, "Rmem\r").reply, "\nPADDY A-1       \r");
  }
}

}  // namespace
}  // namespace pt
