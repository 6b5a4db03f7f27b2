// The console's event loop on a virtual clock: the waits it asks for, the ticks it spends, the
// timer it fires.
#include "job_loop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/program_state.h"
#include "control_ids.h"
#include "logger/jobs.h"
#include "serial/port.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"

namespace cli {
namespace {

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
  pt::HeadlessDialog dlg_{[this] { return static_cast<long long>(clock_.now); }};
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
