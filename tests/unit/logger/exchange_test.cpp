#include "logger/exchange.h"
#include "logger/tick.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "control_ids.h"
#include "logger/jobs.h"
#include "serial/port.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"
#include "support/tick_driver.h"
#include "app/program_state.h"

namespace pt {
namespace {

using test::FakeDialog;
using test::ScriptedDevice;
using ExchangeFn = int (*)(Dialog&, int, const char*, char*);

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_EQ(dev.Open("COM1"), 0);
    dlg.StartTimer(kTickTimerId, kTickTimerMs);
    std::memset(buffer, 0x5A, sizeof buffer);
  }
  // Lets the message loop run up to the next tick and steps the exchange inside it.
  int StepAtNextTick(ExchangeFn fn, const char* command) {
    while (test::DeliverNextTimer(dlg) != kTickTimerId) {
    }
    ++ticks;
    return fn(dlg, 1, command, reply);
  }
  // Steps once per tick until a result other than 0; returns it, `ticks` tells when.
  int RunToResult(ExchangeFn fn, const char* command, int maxTicks = 1000) {
    for (int i = 0; i < maxTicks; ++i) {
      const int r = StepAtNextTick(fn, command);
      if (r != 0) return r;
    }
    return 0;
  }
  std::string Reply() const { return std::string(reply); }

  FakeDialog dlg;
  ScriptedDevice dev{&dlg};
  ScopedPortDevice installDevice{&dev};
  int ticks = 0;
  // The 80-byte reply buffer with guard bytes behind it.
  char buffer[kReplyBufferSize + 16];
  char* reply = buffer;
};

TEST_F(ExchangeTest, ReplyReportedOneStepAfterItsCr) {
  dev.ReplyTo("Rpt\r", "\n123\r");
  EXPECT_EQ(ReplyExchange(dlg, 0, "Rpt\r", reply), 0);
  EXPECT_TRUE(dev.writes.empty());

  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 0);  // t=10: the send
  EXPECT_EQ(dev.writes, std::vector<std::string>{"Rpt\r"});
  EXPECT_TRUE(dlg.TimerRunning(kReplyTimerId));
  EXPECT_EQ(dlg.timers[kReplyTimerId].due, 1010);
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 0);  // t=20: CR seen
  EXPECT_EQ(Exchange.Reply.phase, PhaseComplete);
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 1);  // t=30: reported
  EXPECT_EQ(dlg.now, 30);
  EXPECT_EQ(Reply(), "\n123\r");
  // Idle now: stepping again sends nothing and changes nothing.
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 0);
  EXPECT_EQ(dev.writes.size(), 1u);
  EXPECT_EQ(Reply(), "\n123\r");
}

TEST_F(ExchangeTest, SilentLoggerSendsTwiceThenGivesUp) {
  const struct {
    const char* name;
    ExchangeFn fn;
  } variants[] = {{"ack", AckExchange}, {"reply", ReplyExchange}};
  for (const auto& v : variants) {
    SCOPED_TRACE(v.name);
    dev.writes.clear();
    ticks = 0;
    const std::int64_t start = dlg.now;
    v.fn(dlg, 0, "Calm2\r", reply);
    std::vector<std::int64_t> sendTimes;
    int result = 0;
    for (int i = 0; i < 400 && result == 0; ++i) {
      const std::size_t before = dev.writes.size();
      result = StepAtNextTick(v.fn, "Calm2\r");
      if (dev.writes.size() != before) sendTimes.push_back(dlg.now - start);
    }
    EXPECT_EQ(result, -2);
    EXPECT_EQ(dev.writes, (std::vector<std::string>{"Calm2\r", "Calm2\r"}));
    // Sent at the first tick; timeout seen at 1010, resent a tick later; -2 when the second
    // timer runs out.
    EXPECT_EQ(sendTimes, (std::vector<std::int64_t>{10, 1020}));
    EXPECT_EQ(dlg.now - start, 2020);
    EXPECT_EQ(ticks, 202);
  }
}

TEST_F(ExchangeTest, AckAcceptsOnlyLeadingLfOk) {
  const struct {
    const char* first;
    const char* second;  // nullptr: the logger answers once only
    int result;
    std::size_t sends;
    int tick;  // the tick that reports the result
  } cases[] = {
      {"\nOK\r", nullptr, 1, 1, 3},
      {"\nOK and more\r", nullptr, 1, 1, 3},
      {"OK\r", "\nOK\r", 1, 2, 6},
      {"OK\r", "OK\r", -2, 2, 6},
      {"\nNG\r", "\nok\r", -2, 2, 6},
      {"\r", "\nO\rK", -2, 2, 6},
      {"\nERR\r", nullptr, -2, 2, 104},  // a refusal and then silence share the one resend
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + (c.second ? c.second : ""));
    ScriptedDevice d(&dlg);
    ASSERT_EQ(d.Open("COM1"), 0);
    SetPortDevice(&d);
    d.ReplyTo("Calm1\r", c.first, 0, 1);
    if (c.second != nullptr) d.ReplyTo("Calm1\r", c.second, 0, 1);
    ticks = 0;
    AckExchange(dlg, 0, "Calm1\r", reply);
    EXPECT_EQ(RunToResult(AckExchange, "Calm1\r"), c.result);
    EXPECT_EQ(d.writes.size(), c.sends);
    EXPECT_EQ(ticks, c.tick);
    // Let a running reply timer run out so the next case starts clean.
    test::RunTicks(dlg, 101);
  }
}

TEST_F(ExchangeTest, ReplyInPiecesIsAppendedUntilItsCr) {
  ReplyExchange(dlg, 0, "Rmem\r", reply);
  ASSERT_EQ(StepAtNextTick(ReplyExchange, "Rmem\r"), 0);  // sent at t=10
  dev.ArriveAt(15, "\nPa");
  dev.ArriveAt(35, "ddy ");
  dev.ArriveAt(55, "7\r\n");
  const char* seen[] = {"\nPa", "\nPa", "\nPaddy ", "\nPaddy ", "\nPaddy 7\r\n"};
  for (const char* s : seen) {
    EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rmem\r"), 0);
    EXPECT_EQ(Reply(), s) << "at t=" << dlg.now;
  }
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rmem\r"), 1);
  EXPECT_EQ(dlg.now, 70);
}

TEST_F(ExchangeTest, LoneCrIsAReplyButNoAcknowledgement) {
  dev.ReplyTo("Cget\r", "\r");
  ReplyExchange(dlg, 0, "Cget\r", reply);
  EXPECT_EQ(RunToResult(ReplyExchange, "Cget\r"), 1);
  EXPECT_EQ(Reply(), "\r");
  EXPECT_EQ(dev.writes.size(), 1u);
}

TEST_F(ExchangeTest, StaleBytesAreDrainedBeforeTheSend) {
  dev.Arrive(std::string(250, 'z'));
  dev.ReplyTo("Rstr\r", "STR:202604071200\r");
  ReplyExchange(dlg, 0, "Rstr\r", reply);
  EXPECT_EQ(RunToResult(ReplyExchange, "Rstr\r"), 1);
  EXPECT_EQ(Reply(), "STR:202604071200\r");
  // Drained in scratch-sized reads before anything was written.
  ASSERT_GE(dev.readSizes.size(), 3u);
  EXPECT_EQ(std::vector<std::uint32_t>(dev.readSizes.begin(), dev.readSizes.begin() + 3),
            (std::vector<std::uint32_t>{100, 100, 50}));
}

TEST_F(ExchangeTest, LateReplyIsDrainedByTheResend) {
  ReplyExchange(dlg, 0, "Rpt\r", reply);
  ASSERT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 0);
  dev.ArriveAt(1015, "\nstale\r");  // after the wait failed at 1010, before the resend at 1020
  dev.ArriveAt(1025, "\n42\r");
  EXPECT_EQ(RunToResult(ReplyExchange, "Rpt\r"), 1);
  EXPECT_EQ(Reply(), "\n42\r");
  EXPECT_EQ(dev.writes.size(), 2u);
}

// An ask whose wait ran out may still be answered, after the resend went out or in the middle of
// its own reply: no answer may be taken for a later command's, nor a tail for a whole reply.
// Rdt0000 is sent at 10; its wait runs out at 1010.
TEST_F(ExchangeTest, AnAnswerThatComesLateIsNeverTakenForAnother) {
  using Arrivals = std::vector<std::pair<std::int64_t, std::string>>;
  const struct {
    const char* name;
    Arrivals arrivals;
    std::int64_t resendAt;
    std::int64_t nextSendAt;  // Rdt0001
  } cases[] = {
      // The first ask answered at 1070, after the resend; the resend's answer after it.
      {"answered just after", {{1070, "\n0190\r"}, {1080, "\n0190\r"}}, 1020, 1090},
      {"a slow logger's answer", {{1070, "\n0190\r"}, {1370, "\n0190\r"}}, 1020, 1370},
      {"never answered", {{1070, "\n0190\r"}}, 1020, 1680},  // held the settle time after the accept
      {"both in one read", {{1070, "\n0190\r\n0190\r"}}, 1020, 1090},
      {"the other begun in the same read", {{1070, "\n0190\r\n01"}, {1300, "90\r"}}, 1020, 1300},
      {"a blank line is no answer", {{1070, "\n0190\r\r"}, {1300, "\n0190\r"}}, 1020, 1300},
      // The wait ran out in the middle of the first answer: its tail is thrown away before the
      // resend, which gets the whole reply.
      {"tail after the timeout", {{1005, "\n01"}, {1025, "90\r"}, {1060, "\n0190\r"}}, 1030, 1080},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProgramState();
    FakeDialog d;
    ScriptedDevice device(&d);
    ASSERT_EQ(device.Open("COM1"), 0);
    SetPortDevice(&device);
    d.StartTimer(kTickTimerId, kTickTimerMs);
    device.ReplyTo("Rdt0001\r", "\n0191\r", 250);
    auto step = [&](const char* command) {
      while (test::DeliverNextTimer(d) != kTickTimerId) {
      }
      return ReplyExchange(d, 1, command, reply);
    };
    std::vector<std::int64_t> sends;
    auto run = [&](const char* command) {
      int r = 0;
      while (r == 0 && d.now < 6000) {
        const std::size_t before = device.writes.size();
        r = step(command);
        if (device.writes.size() != before) sends.push_back(d.now);
      }
      return r;
    };
    for (const auto& [at, bytes] : c.arrivals) device.ArriveAt(at, bytes);
    ReplyExchange(d, 0, "Rdt0000\r", reply);
    ASSERT_EQ(run("Rdt0000\r"), 1);
    EXPECT_EQ(Reply(), "\n0190\r");  // one whole answer, never two run together nor a tail
    ReplyExchange(d, 0, "Rdt0001\r", reply);
    EXPECT_EQ(run("Rdt0001\r"), 1);
    EXPECT_EQ(Reply(), "\n0191\r");
    EXPECT_EQ(sends, (std::vector<std::int64_t>{10, c.resendAt, c.nextSendAt}));
  }
}

TEST_F(ExchangeTest, CrSeenWithTheTimeoutIsAccepted) {
  ReplyExchange(dlg, 0, "Rpt\r", reply);
  ASSERT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 0);
  // Due with the reply timer: the timer is handled first, then the tick collects the CR.
  dev.ArriveAt(1010, "\n9\r");
  EXPECT_EQ(RunToResult(ReplyExchange, "Rpt\r"), 1);
  EXPECT_EQ(dlg.now, 1020);
  EXPECT_EQ(Exchange.ReplyTimedOut, 1);
  EXPECT_EQ(dev.writes.size(), 1u);
}

TEST_F(ExchangeTest, SpinnerAdvancesPerSendAndPerVariant) {
  dev.responder = [](const std::string& w) { return w == "Rpt\r" ? "\n1\r" : "\nOK\r"; };
  // Frames as Shift-JIS bytes: ｜ ／ ― ＼.
  const char* frames[] = {"\x81\x62", "\x81\x5E", "\x81\x5C", "\x81\x5F"};
  for (int i = 0; i < 5; ++i) {
    AckExchange(dlg, 0, "Calm2\r", reply);
    ASSERT_EQ(RunToResult(AckExchange, "Calm2\r"), 1);
    EXPECT_EQ(dlg.Text(IDC_SPINNER), frames[i % 4]) << "send " << i;
  }
  // The other variant keeps its own place in the sequence.
  ReplyExchange(dlg, 0, "Rpt\r", reply);
  ASSERT_EQ(RunToResult(ReplyExchange, "Rpt\r"), 1);
  EXPECT_EQ(dlg.Text(IDC_SPINNER), frames[0]);
  AckExchange(dlg, 0, "Calm2\r", reply);
  ASSERT_EQ(RunToResult(AckExchange, "Calm2\r"), 1);
  EXPECT_EQ(dlg.Text(IDC_SPINNER), frames[1]);
}

TEST_F(ExchangeTest, ResendShowsTheNextFrame) {
  AckExchange(dlg, 0, "Calm2\r", reply);
  EXPECT_EQ(RunToResult(AckExchange, "Calm2\r"), -2);
  std::vector<std::string> shown;
  for (const std::string& line : dlg.log) {
    if (line.rfind("text 1201 ", 0) == 0) shown.push_back(line);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"text 1201 [\x81\x62]", "text 1201 [\x81\x5E]"}));
}

TEST_F(ExchangeTest, FailedWriteEndsAtOnce) {
  const struct {
    const char* name;
    bool closed;
  } cases[] = {{"write refused", false}, {"device closed", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog d;
    ScriptedDevice device(&d);
    SetPortDevice(&device);
    if (!c.closed) {
      ASSERT_EQ(device.Open("COM1"), 0);
      device.failWrite = true;
    }
    d.StartTimer(kTickTimerId, kTickTimerMs);
    Exchange = ExchangeState{};
    ReplyExchange(d, 0, "Rpt\r", reply);
    EXPECT_EQ(ReplyExchange(d, 1, "Rpt\r", reply), -1);
    EXPECT_FALSE(d.TimerRunning(kReplyTimerId));
    EXPECT_EQ(Exchange.Reply.phase, PhaseIdle);
    test::RunTicks(d, 300);
    EXPECT_EQ(ReplyExchange(d, 1, "Rpt\r", reply), 0);
    EXPECT_EQ(device.failedWrites, c.closed ? 0 : 1);
    EXPECT_TRUE(device.writes.empty());
  }
}

TEST_F(ExchangeTest, BeginAbandonsTheRunningExchange) {
  ReplyExchange(dlg, 0, "Rpt\r", reply);
  ASSERT_EQ(StepAtNextTick(ReplyExchange, "Rpt\r"), 0);
  test::RunTicks(dlg, 50);
  AckExchange(dlg, 0, "Calm1\r", reply);  // the other variant is left alone
  EXPECT_EQ(Exchange.Reply.phase, PhaseAwaitReply);
  ReplyExchange(dlg, 0, "Rmem\r", reply);
  EXPECT_EQ(Exchange.Reply.phase, PhaseSend);
  EXPECT_TRUE(dlg.TimerRunning(kReplyTimerId));  // not stopped by the begin
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rmem\r"), 0);
  EXPECT_EQ(dev.writes, (std::vector<std::string>{"Rpt\r", "Rmem\r"}));
}

TEST_F(ExchangeTest, LargeBacklogIsTakenNinetyBytesAStep) {
  ReplyExchange(dlg, 0, "Rdt0000\r", reply);
  ASSERT_EQ(StepAtNextTick(ReplyExchange, "Rdt0000\r"), 0);
  dev.ArriveAt(15, std::string(250, 'x') + "\r");
  const std::size_t readsBefore = dev.readSizes.size();
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rdt0000\r"), 0);
  EXPECT_EQ(dev.Pending(), 161u);
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rdt0000\r"), 0);
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rdt0000\r"), 0);
  EXPECT_EQ(std::vector<std::uint32_t>(dev.readSizes.begin() + static_cast<long>(readsBefore),
                                       dev.readSizes.end()),
            (std::vector<std::uint32_t>{90, 90, 71}));
  EXPECT_EQ(StepAtNextTick(ReplyExchange, "Rdt0000\r"), 1);
  // 251 bytes never pass the 80-byte buffer: 78 kept, then the CR that ended the line.
  EXPECT_EQ(Reply(), std::string(78, 'x') + "\r");
  for (int i = kReplyBufferSize; i < static_cast<int>(sizeof buffer); ++i) {
    EXPECT_EQ(buffer[i], 0x5A) << "byte " << i << " behind the buffer";
  }
}

TEST_F(ExchangeTest, CollectReplyBoundsAndNul) {
  const struct {
    const char* name;
    std::string before;
    std::string piece;
    int result;
    std::string after;
    bool lineError = false;  // the device reports a parity, framing or overrun error with it
    int flawed = 0;          // whether the reply may no longer be trusted
  } cases[] = {
      {"fits", "\nAB", "C\r", 1, "\nABC\r"},
      {"NUL ends the piece", "", std::string("\nAB\0CD\r", 7), 0, "\nAB", false, 1},
      {"full, excess dropped", std::string(79, 'a'), "bbb", 0, std::string(79, 'a'), false, 1},
      {"full, CR still ends it", std::string(79, 'a'), "bb\rcc", 1, std::string(78, 'a') + "\r", false, 1},
      {"CR kept, rest dropped", std::string(70, 'a') + "\r", std::string(20, 'c'),
       1, std::string(70, 'a') + "\r" + std::string(8, 'c'), false, 1},
      {"nothing waiting", "\nX", "", 0, "\nX"},
      {"line error", "", "\n1A2F\r", 1, "\n1A2F\r", true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::memset(buffer, 0x5A, sizeof buffer);
    std::memcpy(reply, c.before.c_str(), c.before.size() + 1);
    Exchange.ReplyFlawed = 0;
    if (!c.piece.empty()) dev.ArriveAt(dlg.now, c.piece, c.lineError);
    EXPECT_EQ(CollectReply(reply), c.result);
    EXPECT_EQ(Exchange.ReplyFlawed, c.flawed);
    EXPECT_EQ(Reply(), c.after);
    EXPECT_EQ(buffer[kReplyBufferSize], 0x5A);
    DrainReceiveQueue();
  }
}

TEST_F(ExchangeTest, OnlyWhatHappensAfterTheSendFlawsTheReply) {
  dev.ArriveAt(0, "noise", true);  // damage on the line before the command: drained with its bytes
  Exchange.ReplyFlawed = 1;         // and a flaw left over from the previous reply
  dev.ReplyTo("Rdt0000\r", "\n1A2F\r");
  ReplyExchange(dlg, 0, "Rdt0000\r", reply);
  EXPECT_EQ(RunToResult(ReplyExchange, "Rdt0000\r"), 1);
  EXPECT_EQ(Reply(), "\n1A2F\r");
  EXPECT_EQ(Exchange.ReplyFlawed, 0);
}

TEST_F(ExchangeTest, DrainAlwaysEnds) {
  struct EndlessDevice : ScriptedDevice {
    bool WaitingCount(std::uint32_t& count) override {
      ++countCalls;
      count = 100;
      return true;
    }
    bool Read(void*, std::uint32_t size, std::uint32_t& got) override {
      ++readCalls;
      got = size;
      return true;
    }
  };
  const struct {
    const char* name;
    void (*arrange)(ScriptedDevice&);
    int maxReads;
  } cases[] = {
      {"count fails", [](ScriptedDevice& d) { d.failCount = true; }, 0},
      {"read fails", [](ScriptedDevice& d) { d.failRead = true; }, 1},
      {"bytes counted, none delivered", [](ScriptedDevice& d) { d.phantomBytes = 7; }, 2},
      {"some delivered, then none", [](ScriptedDevice& d) { d.phantomBytes = 7; d.Arrive(std::string(150, 'q')); }, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDevice d(&dlg);
    ASSERT_EQ(d.Open("COM1"), 0);
    d.Arrive("\nold\r");
    c.arrange(d);
    SetPortDevice(&d);
    DrainReceiveQueue();
    EXPECT_LE(d.readCalls, c.maxReads);
  }
  EndlessDevice endless;
  ASSERT_EQ(endless.Open("COM1"), 0);
  SetPortDevice(&endless);
  DrainReceiveQueue();
  EXPECT_GT(endless.readCalls, 0);
  EXPECT_LE(endless.readCalls, 1000);
}

TEST_F(ExchangeTest, HandleTimerByLowSixteenBits) {
  const struct {
    unsigned id;
    int closePortFlag;
    std::vector<std::string> log;
    int timedOut;
    int closes;
    int flagAfter;
  } cases[] = {
      {10, 0, {"timer- 10"}, 1, 0, 0},
      {0x7000A, 0, {"timer- 10"}, 1, 0, 0},
      {100, 1, {"timer- 100", "timer+ 100 10"}, 0, 1, 0},
      {0x10064, 0, {"timer- 100", "timer+ 100 10"}, 0, 0, 0},
      {7, 1, {}, 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    FakeDialog d;
    ScriptedDevice device(&d);
    ASSERT_EQ(device.Open("COM1"), 0);
    SetPortDevice(&device);
    Exchange = ExchangeState{};
    Port = PortState{};
    Port.ClosePortFlag = c.closePortFlag;
    HandleTimer(d, c.id);
    EXPECT_EQ(d.log, c.log);
    EXPECT_EQ(Exchange.ReplyTimedOut, c.timedOut);
    EXPECT_EQ(device.closes, c.closes);
    EXPECT_EQ(Port.ClosePortFlag, c.flagAfter);
  }
}

}  // namespace
}  // namespace pt
