// A whole download through the job sequencer, the real POSIX serial backend and the simulated
// logger on a pseudo-terminal, with the tick and reply timers delivered on a real clock.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "control_ids.h"
#include "logger/jobs.h"
#include "report/samples.h"
#include "serial/port.h"
#include "serial/posix/serial_device_posix.h"
#include "sim_child.h"
#include "support/fake_dialog.h"
#include "support/real_time.h"
#include "app/program_state.h"

namespace pt {
namespace {

class JobsSim : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pt-jobs-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    ResetProgramState();
    device_.SetComDirectory(dir_);
    dlg_.SetChecked(IDC_SPEED_9600, true);
    ASSERT_EQ(getcwd(oldCwd_, sizeof oldCwd_), oldCwd_);
    ASSERT_EQ(chdir(dir_.c_str()), 0);  // the report goes into the current directory
  }

  void TearDown() override {
    ClosePort();
    sim_.Stop();
    EXPECT_EQ(chdir(oldCwd_), 0);
    for (const char* name : {"/COM1", "/transcript", "/words", "/tavovalu.html"}) unlink((dir_ + name).c_str());
    rmdir(dir_.c_str());
  }

  void Start(std::vector<std::string> args) {
    const std::vector<std::string> common = {"--link", dir_ + "/COM1", "--transcript", dir_ + "/transcript",
                                             "--dump-words", dir_ + "/words", "--exit-after", "120"};
    args.insert(args.begin(), common.begin(), common.end());
    ASSERT_TRUE(sim_.Start(PT_LOGGER_SIM_PATH, args, 5000)) << "the simulator did not start";
  }

  // Presses the button and delivers the dialog's timers as they fall due on the real clock, until
  // the job has ended and the port is closed, or `limitMs` has passed.
  bool RunJob(int request, long long limitMs) {
    StartJob(dlg_, request);
    return test::RunOnRealClock(dlg_, [this] { return Jobs.BusyFlag == 0 && !device_.IsOpen(); }, limitMs);
  }

  std::vector<std::uint32_t> SimWords() {
    std::ifstream in(dir_ + "/words");
    std::vector<std::uint32_t> words;
    for (std::string line; std::getline(in, line);) words.push_back(static_cast<std::uint32_t>(std::stoul(line, nullptr, 16)));
    return words;
  }

  std::vector<std::string> Transcript() { return sim::ReadTranscriptCommands(dir_ + "/transcript"); }

  bool ReportExists() { return access((dir_ + "/tavovalu.html").c_str(), F_OK) == 0; }

  std::string dir_;
  char oldCwd_[4096] = {};
  test::FakeDialog dlg_;
  PosixSerialDevice device_;
  ScopedPortDevice installDevice_{&device_};
  sim::SimChild sim_;
};

TEST_F(JobsSim, DownloadStoresEverySampleTheLoggerHolds) {
  Start({"--samples", "200"});
  ASSERT_TRUE(RunJob(DownloadJob, 30000));
  EXPECT_TRUE(dlg_.boxes.empty()) << dlg_.boxes.front().text;
  const std::vector<std::uint32_t> words = SimWords();
  ASSERT_EQ(words.size(), 200u);
  ASSERT_EQ(Jobs.SampleCount, 200);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(Jobs.SampleTable[i], words[i]) << i;
  const std::vector<std::string> wire = Transcript();
  ASSERT_EQ(wire.size(), 203u);
  EXPECT_EQ(wire[0], "Rmem\\r");
  EXPECT_EQ(wire[3], "Rdt0000\\r");
  EXPECT_EQ(wire[202], "Rdt0199\\r");
  EXPECT_TRUE(ReportExists());
}

TEST_F(JobsSim, DroppedCommandsAndSplitRepliesStillDownload) {
  struct Case {
    const char* fault;
    std::size_t commands;
  } const cases[] = {{"--drop-first", 12}, {"--split", 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    Start({"--samples", "3", c.fault});
    ASSERT_TRUE(RunJob(DownloadJob, 20000));
    EXPECT_TRUE(dlg_.boxes.empty());
    const std::vector<std::uint32_t> words = SimWords();
    ASSERT_EQ(words.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Jobs.SampleTable[i], words[i]) << i;
    EXPECT_EQ(Transcript().size(), c.commands);  // every command twice when the first is dropped
    sim_.Stop();
    unlink((dir_ + "/transcript").c_str());
  }
}

// A logger busy with its own reading answers one ask just after the resend went out, and then the
// resend too: each later command must still get its own reply.
TEST_F(JobsSim, ALateAnswerNeverShiftsWhatFollows) {
  const std::vector<std::vector<std::string>> faults = {
      {"--late", "Rdt0001:1050"}, {"--late", "Rpt:1050"}, {"--late", "Rmem:1050"},
      // The answer begins to come just before the wait runs out, at the line's own pace.
      {"--pace", "--late", "Rdt0001:996"}, {"--pace", "--late", "Rpt:996"}, {"--pace", "--late", "Rmem:996"},
      // A slow logger answers the resend long after its late answer to the first ask.
      {"--delay", "300", "--late", "Rdt0001:1200"},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.back());
    std::vector<std::string> args = {"--samples", "4", "--memo", "PADDY L", "--start", "200805010600"};
    args.insert(args.end(), fault.begin(), fault.end());
    Start(args);
    ASSERT_TRUE(RunJob(DownloadJob, 20000));
    EXPECT_TRUE(dlg_.boxes.empty()) << dlg_.boxes.front().text;
    const std::vector<std::uint32_t> words = SimWords();
    ASSERT_EQ(Jobs.SampleCount, 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Jobs.SampleTable[i], words[i]) << i;
    EXPECT_STREQ(Jobs.MemoText, "PADDY L         ");
    EXPECT_STREQ(Jobs.StartText, "STR:200805010600");
    EXPECT_STREQ(Jobs.PointerText, "4");
    sim_.Stop();
    unlink((dir_ + "/transcript").c_str());
  }
}

TEST_F(JobsSim, HangUpMidDownloadFailsCleanly) {
  Start({"--samples", "50", "--hangup-after", "10"});
  ASSERT_TRUE(RunJob(DownloadJob, 20000)) << "the job did not end";
  ASSERT_EQ(dlg_.boxes.size(), 1u);
  const std::string text = dlg_.boxes[0].text;
  EXPECT_TRUE(text == "応答が有りません[TAVO] ！！" || text == "送信出来ません[TAVO] ！！") << text;
  EXPECT_FALSE(ReportExists());
  EXPECT_TRUE(dlg_.IsEnabled(IDC_DOWNLOAD));
}

}  // namespace
}  // namespace pt
