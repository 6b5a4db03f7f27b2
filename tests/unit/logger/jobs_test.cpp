#include "logger/jobs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dialog.h"
#include "control_ids.h"
#include "platform/local_time.h"
#include "report/samples.h"
#include "serial/port.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"
#include "support/tick_driver.h"
#include "unit/report/memory_sink.h"
#include "app/program_state.h"

namespace pt {
namespace {

using test::FakeDialog;
using test::MemorySink;
using test::ScriptedDevice;

constexpr const char* kNoProperReply = "正常な応答がありません";
constexpr const char* kCannotSend = "送信出来ません";

// A logger that answers every command the way a healthy one does.
struct Logger {
  std::string memo = "PADDY-NORTH     ";
  std::string start = "STR:200804142200";
  std::string pointer = "3";
  std::vector<std::uint32_t> words = {0x0130, 0x4194, 0x0234};
  bool refuseAcks = false;
  std::vector<std::string> silentFor;  // commands it never answers

  std::string Answer(const std::string& cmd) const {
    for (const auto& s : silentFor) {
      if (cmd.rfind(s, 0) == 0) return "";
    }
    if (cmd == "Rmem\r") return "\n" + memo + "\r";
    if (cmd == "Rstr\r") return "\n" + start + "\r";
    if (cmd == "Rpt\r") return "\n" + pointer + "\r";
    if (cmd == "Cget\r") return "\n20081010123456\r";
    if (cmd.rfind("Rdt", 0) == 0) {
      const int index = std::stoi(cmd.substr(3, 4));
      if (index >= static_cast<int>(words.size())) return "\nNG\r";
      char text[16];
      std::snprintf(text, sizeof text, "\n%04X\r", words[index]);
      return text;
    }
    return refuseAcks ? "\nNG\r" : "\nOK\r";
  }
};

struct Write {
  std::string bytes;
  std::int64_t atMs;
};

// What a noisy line makes of a reply: the bytes that arrive for the first asks of one command
// (with a line error reported alongside where `lineError`), before the logger's own reply.
struct Spoilt {
  std::string bytes;
  bool lineError = false;
};

class JobsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    device_.responder = [this](const std::string& cmd) {
      writes_.push_back({cmd, dlg_.now});
      return logger_.Answer(cmd);
    };
    dlg_.SetChecked(IDC_SPEED_9600, true);
  }

  // Presses a job button and runs the ticks until the job has ended and the port is closed again.
  // Returns the ticks used.
  int RunJob(int request, int maxTicks = 2000) {
    StartJob(dlg_, request);
    const int ticks = test::RunTicksUntil(
        dlg_, [this] { return Jobs.BusyFlag == 0 && !device_.IsOpen(); }, maxTicks);
    EXPECT_GT(ticks, 0) << "the job did not end";
    return ticks;
  }

  // The first asks of `command` get `firstAsks`, one each, the later ones the logger's own reply.
  void SpoilFirstAsks(const std::string& command, std::vector<Spoilt> firstAsks) {
    device_.responder = [this, command, firstAsks, asked = std::size_t{0}](const std::string& cmd) mutable {
      writes_.push_back({cmd, dlg_.now});
      if (cmd == command && asked < firstAsks.size()) {
        const Spoilt& s = firstAsks[asked++];
        device_.ArriveAt(dlg_.now, s.bytes, s.lineError);
        return std::string();
      }
      return logger_.Answer(cmd);
    };
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const auto& w : writes_) out.push_back(w.bytes);
    return out;
  }
  std::string ReportText() const {
    std::string all;
    for (const auto& w : sink_.writes) all += w;
    return all;
  }

  FakeDialog dlg_;
  ScriptedDevice device_{&dlg_};
  MemorySink sink_;
  ScopedPortDevice installDevice_{&device_};
  ScopedReportSink installSink_{&sink_};
  ScopedLocalTimeSource keepClock_{CurrentLocalTimeSource()};
  Logger logger_;
  std::vector<Write> writes_;
};

TEST_F(JobsTest, SingleCommandJobsSendTheirCommandAndShowTheReply) {
  struct Case {
    int request;
    const char* wire;
    int label;  // 0: nothing shown
    const char* shown;
  } const cases[] = {
      {ReadClockJob, "Cget\r", IDC_CLOCK_REPLY, "20081010123456"},
      {ReadMemoJob, "Rmem\r", IDC_MEMO_REPLY, "PADDY-NORTH     "},
      {CheckMemoJob, "Rmem\r", IDC_MEMO_CHECK_REPLY, "PADDY-NORTH     "},
      {CheckStartJob, "Rstr\r", IDC_START_CHECK_REPLY, "STR:200804142200"},
      {CheckPointerJob, "Rpt\r", IDC_POINTER_REPLY, "3"},
      {SetPeriodJob, "Calm2\r", 0, nullptr},
  };
  for (const auto& c : cases) {
    writes_.clear();
    dlg_.texts.clear();
    RunJob(c.request);
    EXPECT_EQ(Commands(), std::vector<std::string>{c.wire}) << c.wire;
    if (c.label != 0) {
      EXPECT_EQ(dlg_.Text(c.label), c.shown) << c.wire;
    }
    EXPECT_TRUE(dlg_.boxes.empty()) << c.wire;
    EXPECT_EQ(Jobs.JobState, 0);
    EXPECT_EQ(Jobs.PendingJob, c.request) << "the sequencer never clears PendingJob";
  }
  // A check job shows its reply but leaves the texts the next report uses.
  EXPECT_STREQ(Jobs.MemoText, "");
  EXPECT_STREQ(Jobs.StartText, "");
  // One open and one close per job.
  EXPECT_EQ(device_.opens.size(), 6u);
  EXPECT_EQ(device_.closes, 6);
}

TEST_F(JobsTest, SingleCommandJobTakesFourTicksFromPressToClose) {
  // Tick 1 selects, tick 2 arms, tick 3 sends, tick 4 sees the CR, tick 5 accepts, tick 6 ends,
  // tick 7 closes the port.
  EXPECT_EQ(RunJob(ReadClockJob), 7);
  ASSERT_EQ(writes_.size(), 1u);
  EXPECT_EQ(writes_[0].atMs, 30);
}

TEST_F(JobsTest, WriteJobsBuildTheirArguments) {
  struct Case {
    const char* memo;
    bool debug;
    const char* clock;
    int request;
    const char* wire;
  } const cases[] = {
      {"ABC", false, "", WriteMemoJob, "WmemABC             \r"},
      {"", false, "", WriteMemoJob, "Wmem                \r"},
      {"0123456789ABCDEFGH", false, "", WriteMemoJob, "Wmem0123456789ABCDEF\r"},
      {"", true, "", SetPeriodJob, "Calm1\r"},
      {"", false, "", SetPeriodJob, "Calm2\r"},
      {"", false, "20080410181256", SetClockJob, "Cset20080410181256\r"},
      // Control bytes go as blanks; a CR would have split the command in two.
      {"A\tB\x01" "C\x1b\x7f\rD", false, "", WriteMemoJob, "WmemA B C   D       \r"},
      {"\x93\x63\x82\xf1\x82\xda\tA-1", false, "", WriteMemoJob, "Wmem\x93\x63\x82\xf1\x82\xda A-1      \r"},
  };
  for (const auto& c : cases) {
    writes_.clear();
    dlg_.Type(IDC_MEMO_EDIT, c.memo);
    dlg_.Type(IDC_CLOCK_EDIT, c.clock);
    dlg_.SetChecked(IDC_DEBUG_PERIOD, c.debug);
    RunJob(c.request);
    EXPECT_EQ(Commands(), std::vector<std::string>{c.wire}) << c.wire;
    EXPECT_TRUE(dlg_.boxes.empty()) << c.wire;
  }
  // The memo field shows what was sent.
  dlg_.Type(IDC_MEMO_EDIT, "ABC");
  RunJob(WriteMemoJob);
  EXPECT_EQ(dlg_.Text(IDC_MEMO_EDIT), "ABC             ");
}

// What a person types as a time reaches the logger, or dates a season, only when it names a
// real second or minute; anything else is refused before it is used, with nothing sent.
TEST_F(JobsTest, TypedTimesMustNameARealMoment) {
  const struct {
    int request;  // SetClockJob: the clock field; DownloadJob: the special start
    const char* typed;
    bool accepted;
  } cases[] = {
      {SetClockJob, "20080229235959", true},
      {SetClockJob, "20000229000000", true},
      {SetClockJob, "20081340256199", false},  // month 13
      {SetClockJob, "2008041018125x", false},
      {SetClockJob, "abcdefghijklmn", false},
      {SetClockJob, "20090229120000", false},  // 2009 has no 29 February
      {SetClockJob, "21000229120000", false},  // nor has 2100
      {SetClockJob, "21000101000000", false},  // no season is dated after 2099
      {SetClockJob, "19991231235959", false},  // nor before 2000
      {SetClockJob, "20080431120000", false},
      {SetClockJob, "20080410240000", false},
      {SetClockJob, "20080410236000", false},
      {SetClockJob, "20080410235960", false},
      {SetClockJob, "\x82\x4f\x82\x4f\x82\x4f\x82\x4f\x82\x4f\x82\x4f\x82\x4f", false},  // seven full-width zeros
      {SetClockJob, "20080410181256\x82\x4f", false},  // a double-byte character past the fourteenth byte
      {DownloadJob, "200802291500", true},
      {DownloadJob, "200802300000", false},
      {DownloadJob, "200804311200", false},
      {DownloadJob, "200804141260", false},  // the report prints no minutes, but they must exist
      {DownloadJob, "20080414150x", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    writes_.clear();
    dlg_.boxes.clear();
    sink_ = MemorySink{};
    sink_.placed = "last season's report";
    dlg_.Type(IDC_CLOCK_EDIT, c.typed);
    dlg_.Type(IDC_SPECIAL_START_EDIT, c.typed);
    dlg_.SetChecked(IDC_SPECIAL_START, c.request == DownloadJob);
    RunJob(c.request);
    if (c.request == SetClockJob) {
      EXPECT_EQ(Commands(), c.accepted ? std::vector<std::string>{"Cset" + std::string(c.typed) + "\r"}
                                       : std::vector<std::string>{});
    } else {
      EXPECT_EQ(sink_.placed == "last season's report", !c.accepted);
    }
    if (c.accepted) {
      EXPECT_TRUE(dlg_.boxes.empty()) << dlg_.boxes.front().text;
    } else {
      ASSERT_EQ(dlg_.boxes.size(), 1u);
      EXPECT_EQ(dlg_.boxes[0].text, c.request == SetClockJob ? "設定日時が異常です" : "年月日時分のデータが異常");
      EXPECT_EQ(dlg_.boxes[0].caption, "");
    }
  }
  dlg_.SetChecked(IDC_SPECIAL_START, false);
}

// A request that comes while a job runs (a click queued behind the one that started it) changes
// nothing: the port is not opened again, no setting is read, no box is shown.
TEST_F(JobsTest, ARequestWhileAJobRunsChangesNothing) {
  ASSERT_TRUE(StartJob(dlg_, DownloadJob));
  test::RunTicks(dlg_, 20);
  const auto opens = device_.opens.size();
  const auto closes = device_.closes;
  const PortSettings before = Port.Settings;
  dlg_.SetChecked(IDC_SPEED_9600, false);
  dlg_.SetChecked(IDC_SPEED_19200, true);
  EXPECT_FALSE(StartJob(dlg_, ReadClockJob));
  EXPECT_EQ(device_.opens.size(), opens);
  EXPECT_EQ(device_.closes, closes);
  EXPECT_EQ(Port.Settings.speed, before.speed);
  EXPECT_TRUE(dlg_.boxes.empty());
  test::RunTicksUntil(dlg_, [this] { return Jobs.BusyFlag == 0 && !device_.IsOpen(); }, 2000);
  EXPECT_EQ(Jobs.SampleCount, 3) << "the download ran to its end";
  EXPECT_TRUE(dlg_.boxes.empty());
}

TEST_F(JobsTest, StatesAreReadOneTickAfterThePress) {
  // The debug box is read when the job takes the request up, not at the press.
  StartJob(dlg_, SetPeriodJob);
  dlg_.SetChecked(IDC_DEBUG_PERIOD, true);
  test::RunTicksUntil(dlg_, [] { return Jobs.BusyFlag == 0; }, 100);
  EXPECT_EQ(Commands(), std::vector<std::string>{"Calm1\r"});
}

TEST_F(JobsTest, SetClockFromThePcClock) {
  SetLocalTimeSource([] { return LocalTime{2026, 4, 5, 6, 7, 8}; });
  dlg_.Type(IDC_CLOCK_EDIT, "rubbish");
  dlg_.SetChecked(IDC_USE_PC_CLOCK, true);
  RunJob(SetClockJob);
  EXPECT_EQ(Commands(), std::vector<std::string>{"Cset20260405060708\r"});
  EXPECT_EQ(dlg_.Text(IDC_CLOCK_EDIT), "20260405060708");
}

TEST_F(JobsTest, FailuresShowTheirMessageAfterTheBeep) {
  struct Case {
    const char* name;
    int request;
    const char* clock;
    bool silent;
    bool refuse;
    bool failWrite;
    std::vector<std::string> wire;
    const char* message;  // nullptr: no box
  } const cases[] = {
      {"clock too short", SetClockJob, "2008041018125", false, false, false, {}, "設定日時が異常です"},
      {"clock too long", SetClockJob, "200804101812567", false, false, false, {}, "設定日時が異常です"},
      {"silent, ack", SetPeriodJob, "", true, false, false, {"Calm2\r", "Calm2\r"}, kNoProperReply},
      {"refused, ack", SetPeriodJob, "", false, true, false, {"Calm2\r", "Calm2\r"}, kNoProperReply},
      {"silent, read", ReadMemoJob, "", true, false, false, {"Rmem\r", "Rmem\r"}, kNoProperReply},
      {"write fails, ack", WriteMemoJob, "", false, false, true, {}, nullptr},
      {"write fails, read", CheckPointerJob, "", false, false, true, {}, kCannotSend},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writes_.clear();
    dlg_.boxes.clear();
    dlg_.log.clear();
    dlg_.beeps = 0;
    dlg_.Type(IDC_CLOCK_EDIT, c.clock);
    logger_.silentFor = c.silent ? std::vector<std::string>{""} : std::vector<std::string>{};
    logger_.refuseAcks = c.refuse;
    device_.failWrite = c.failWrite;
    RunJob(c.request, 500);
    EXPECT_EQ(Commands(), c.wire);
    if (c.message == nullptr) {
      EXPECT_TRUE(dlg_.boxes.empty());
      EXPECT_EQ(dlg_.beeps, 0);
    } else {
      ASSERT_EQ(dlg_.boxes.size(), 1u);
      EXPECT_EQ(dlg_.boxes[0].text, c.message);
      EXPECT_EQ(dlg_.boxes[0].caption, "");
      EXPECT_EQ(dlg_.boxes[0].owner, BoxOwner::Dialog);
      // The beep comes right before the box.
      auto box = std::find_if(dlg_.log.begin(), dlg_.log.end(), [](auto& l) { return l.rfind("box ", 0) == 0; });
      ASSERT_NE(box, dlg_.log.begin());
      EXPECT_EQ(*(box - 1), "beep");
    }
    EXPECT_TRUE(dlg_.IsEnabled(IDC_DOWNLOAD));
    device_.failWrite = false;
  }
}

TEST_F(JobsTest, DownloadReadsHeadersEverySampleAndWritesTheReport) {
  std::vector<std::string> counters;
  RunJob(DownloadJob);
  const std::vector<std::string> expected = {"Rmem\r", "Rstr\r", "Rpt\r", "Rdt0000\r", "Rdt0001\r", "Rdt0002\r"};
  EXPECT_EQ(Commands(), expected);
  EXPECT_EQ(dlg_.Text(IDC_MEMO_CHECK_REPLY), "PADDY-NORTH     ");
  EXPECT_EQ(dlg_.Text(IDC_START_CHECK_REPLY), "STR:200804142200");
  EXPECT_EQ(dlg_.Text(IDC_POINTER_REPLY), "3");
  EXPECT_STREQ(Jobs.StartText, "STR:200804142200");
  EXPECT_EQ(Jobs.SampleCount, 3);
  EXPECT_EQ(Jobs.SampleTable[0], 0x0130u);
  EXPECT_EQ(Jobs.SampleTable[1], 0x4194u);
  EXPECT_EQ(Jobs.SampleTable[2], 0x0234u);
  EXPECT_TRUE(dlg_.boxes.empty());
  EXPECT_NE(ReportText().find("開始時刻[2008-4-14 22:00]"), std::string::npos);
  EXPECT_NE(ReportText().find("*25.3</td>"), std::string::npos);
  // Counter texts in order, each followed by blanks once its sample is in.
  std::vector<std::string> labels;
  for (const auto& l : dlg_.log) {
    if (l.rfind("text 1169 ", 0) == 0) labels.push_back(l.substr(10));
  }
  const std::vector<std::string> expectedLabels = {"[     ]", "[0/3   ]", "[     ]", "[1/3   ]", "[     ]",
                                                   "[2/3   ]", "[     ]", "[]",      "[     ]"};
  EXPECT_EQ(labels, expectedLabels);
  // The bar was ranged for 3 and stepped three times, then emptied at the end.
  EXPECT_EQ(dlg_.progress[IDC_PROGRESS].high, 3);
  EXPECT_EQ(dlg_.progress[IDC_PROGRESS].pos, 0);
  EXPECT_EQ(std::count(dlg_.log.begin(), dlg_.log.end(), "progress 1022 1029 0 0"), 3);
}

TEST_F(JobsTest, FourTicksPerSampleOnACleanLine) {
  logger_.words.assign(120, 0x0190);
  logger_.pointer = "120";
  RunJob(DownloadJob);
  std::vector<std::int64_t> sampleTimes;
  for (const auto& w : writes_) {
    if (w.bytes.rfind("Rdt", 0) == 0) sampleTimes.push_back(w.atMs);
  }
  ASSERT_EQ(sampleTimes.size(), 120u);
  for (std::size_t i = 1; i < sampleTimes.size(); ++i) EXPECT_EQ(sampleTimes[i] - sampleTimes[i - 1], 40) << i;
  EXPECT_NE(std::find(dlg_.log.begin(), dlg_.log.end(), "text 1169 [0/120 ]"), dlg_.log.end());
  EXPECT_NE(std::find(dlg_.log.begin(), dlg_.log.end(), "text 1169 [119/120 ]"), dlg_.log.end());
}

TEST_F(JobsTest, PointerRepliesThatDoNotCount) {
  const Spoilt letters{"\nabc\r"};
  struct Case {
    const char* name;
    std::vector<Spoilt> firstAsks;
    std::string pointer;  // the logger's own reply from then on
    int pointerAsks;
    std::vector<std::string> samples;
    bool report;
  } const cases[] = {
      {"zero", {}, "0", 1, {"Rdt0000\r"}, true},
      {"no number", {}, "abc", 3, {}, false},
      {"a sign", {}, "-4", 3, {}, false},
      {"a line break inside", {}, "7\n200", 3, {}, false},
      {"more than the table holds", {}, "12000", 1, {}, false},
      {"one more than the table holds", {}, "10001", 1, {}, false},
      {"spoilt twice, then clean", {letters, letters}, "2", 3, {"Rdt0000\r", "Rdt0001\r"}, true},
      {"a line error under clean bytes", {{"\n2\r", true}}, "2", 2, {"Rdt0000\r", "Rdt0001\r"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writes_.clear();
    dlg_.boxes.clear();
    sink_.creates = 0;
    Jobs.SampleCount = 5;
    logger_.pointer = c.pointer;
    SpoilFirstAsks("Rpt\r", c.firstAsks);
    RunJob(DownloadJob);
    std::vector<std::string> samples;
    int pointerAsks = 0;
    for (const auto& w : Commands()) {
      if (w.rfind("Rdt", 0) == 0) samples.push_back(w);
      if (w == "Rpt\r") ++pointerAsks;
    }
    EXPECT_EQ(pointerAsks, c.pointerAsks);
    EXPECT_EQ(samples, c.samples);
    EXPECT_EQ(sink_.creates, c.report ? 1 : 0);
    if (c.report) {
      EXPECT_TRUE(dlg_.boxes.empty());
    } else {
      ASSERT_EQ(dlg_.boxes.size(), 1u);
      EXPECT_EQ(dlg_.boxes[0].text, "温度データの数のデータが異常 !!");
      EXPECT_EQ(dlg_.boxes[0].caption, "");
      EXPECT_EQ(Jobs.SampleCount, 5) << "a count that did not count changes nothing";
    }
    EXPECT_EQ(Jobs.JobState, 0);
    EXPECT_EQ(Jobs.BusyFlag, 0);
  }
}

TEST_F(JobsTest, SpoiltSampleRepliesAreAskedAgain) {
  const Spoilt letters{"\n4Z94\r"};
  struct Case {
    const char* name;
    std::vector<Spoilt> firstAsks;  // for Rdt0001, whose clean reply is 4194
    int sends;                      // of Rdt0001
    std::int64_t askedAgainAfterMs; // from its first send to its second; 0: not compared
    bool exact;                     // false: the download fails with no report
  } const cases[] = {
      {"clean, with an LF after the CR", {{"\n4194\r\n"}}, 1, 0, true},
      {"letters", {letters}, 2, 20, true},
      {"a stray byte before the LF", {{"X\n4194\r"}}, 2, 20, true},
      {"a stray digit before the LF", {{"7\n4194\r"}}, 2, 20, true},
      {"a byte from 0x80 up", {{"\n41\x94" "4\r"}}, 2, 20, true},
      {"a sign", {{"\n-4194\r"}}, 2, 20, true},
      {"nine digits", {{"\n000004194\r"}}, 2, 20, true},
      {"a NUL after the LF: no CR, so the exchange resends", {{std::string("\n\0" "4194\r", 7)}}, 2, 1010, true},
      {"a line error under clean bytes", {{"\n4194\r", true}}, 2, 20, true},
      {"spoilt twice", {letters, letters}, 3, 20, true},
      {"spoilt on every ask", {letters, letters, letters}, 3, 20, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writes_.clear();
    dlg_.boxes.clear();
    sink_.creates = 0;
    Jobs.SampleTable[1] = 0xABCD;
    SpoilFirstAsks("Rdt0001\r", c.firstAsks);
    RunJob(DownloadJob);
    std::vector<std::int64_t> sentAt;
    for (const auto& w : writes_) {
      if (w.bytes == "Rdt0001\r") sentAt.push_back(w.atMs);
    }
    ASSERT_EQ(sentAt.size(), static_cast<std::size_t>(c.sends));
    if (c.askedAgainAfterMs != 0) {
      EXPECT_EQ(sentAt[1] - sentAt[0], c.askedAgainAfterMs);
    }
    if (c.exact) {
      EXPECT_TRUE(dlg_.boxes.empty());
      EXPECT_EQ(Jobs.SampleTable[1], 0x4194u);
      EXPECT_EQ(Jobs.SampleTable[2], 0x0234u);
      EXPECT_EQ(sink_.creates, 1);
    } else {
      ASSERT_EQ(dlg_.boxes.size(), 1u);
      EXPECT_EQ(dlg_.boxes[0].text, kNoProperReply);
      EXPECT_EQ(dlg_.boxes[0].caption, "");
      EXPECT_EQ(Jobs.SampleTable[1], 0xABCDu);
      EXPECT_EQ(Commands().back(), "Rdt0001\r") << "no later sample is asked";
      EXPECT_EQ(sink_.creates, 0);
      EXPECT_TRUE(dlg_.IsEnabled(IDC_DOWNLOAD));
    }
  }
}

TEST_F(JobsTest, NoisyRepliesNeverOverrunTheBuffers) {
  device_.responder = [this](const std::string& cmd) {
    writes_.push_back({cmd, dlg_.now});
    std::string a = logger_.Answer(cmd);
    if (cmd == "Rpt\r") return a;        // the count gets through, so the samples are asked
    return std::string(300, 'Z') + a;  // a long run without CR before the real reply
  };
  Jobs.SampleTable[0] = 0x1234;
  RunJob(DownloadJob);
  // The noise fills the buffer; the CR still ends the reply in its last place.
  EXPECT_EQ(std::string(Jobs.MemoText), std::string(78, 'Z'));
  // A sample reply lost in noise is no number: asked three times, then the download stops with
  // its slot left alone and no report.
  EXPECT_EQ(Jobs.SampleCount, 3);
  EXPECT_EQ(Jobs.SampleTable[0], 0x1234u);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"Rmem\r", "Rstr\r", "Rpt\r", "Rdt0000\r", "Rdt0000\r", "Rdt0000\r"}));
  EXPECT_EQ(sink_.creates, 0);
}

TEST_F(JobsTest, HeaderOrSampleFailureEndsTheDownloadWithoutAReport) {
  struct Case {
    const char* silentFor;
    const char* message;
    std::size_t sends;
  } const cases[] = {
      {"Rmem", "応答が有りません[MEM] ！！", 2},
      {"Rstr", "応答が有りません[STR] ！！", 3},
      {"Rpt", "応答が有りません[PT] ！！", 4},
      {"Rdt0001", "応答が有りません[TAVO] ！！", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.silentFor);
    writes_.clear();
    dlg_.boxes.clear();
    sink_.creates = 0;
    logger_.silentFor = {c.silentFor};
    RunJob(DownloadJob);
    EXPECT_EQ(writes_.size(), c.sends);
    ASSERT_EQ(dlg_.boxes.size(), 1u);
    EXPECT_EQ(dlg_.boxes[0].text, c.message);
    EXPECT_EQ(dlg_.boxes[0].caption, "");
    EXPECT_EQ(sink_.creates, 0);
    EXPECT_EQ(dlg_.Text(IDC_SAMPLE_COUNTER), "     ");
    EXPECT_TRUE(dlg_.IsEnabled(IDC_DOWNLOAD));
  }
}

// A logger with no samples is still asked for sample 0; whatever it answers, the report has no
// rows and no box comes.
TEST_F(JobsTest, AnEmptyLoggerIsNoFault) {
  const struct {
    const char* name;
    std::vector<std::string> answers;  // to the asks of Rdt0000, one each; "" for none
  } cases[] = {
      {"NG", {"\nNG\r"}},
      {"a number", {"\n0190\r"}},
      {"garbage", {"\n1A2K\r"}},
      {"nothing even after the resend", {"", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writes_.clear();
    dlg_.boxes.clear();
    sink_ = MemorySink{};
    logger_.pointer = "0";
    device_.responder = [this, &c, asked = std::size_t{0}](const std::string& cmd) mutable {
      writes_.push_back({cmd, dlg_.now});
      if (cmd != "Rdt0000\r") return logger_.Answer(cmd);
      return asked < c.answers.size() ? c.answers[asked++] : std::string();
    };
    RunJob(DownloadJob, 1000);
    std::vector<std::string> expected = {"Rmem\r", "Rstr\r", "Rpt\r"};
    for (std::size_t i = 0; i < c.answers.size(); ++i) expected.push_back("Rdt0000\r");
    EXPECT_EQ(Commands(), expected);
    EXPECT_TRUE(dlg_.boxes.empty()) << dlg_.boxes.front().text;
    EXPECT_EQ(Jobs.LastOutcome.kind, Outcome::Succeeded);
    EXPECT_EQ(Jobs.LastOutcome.report, ReportResult::Written);
    EXPECT_EQ(sink_.creates, 1);
  }
}

// The fine timer resolution is held from each press to the tick that ends the job, and given
// back when the dialog closes in the middle of one: never two holds, never a hold left over.
TEST_F(JobsTest, EveryHoldOfFineTimersIsReleased) {
  const struct {
    const char* name;
    int request;
    std::vector<std::string> silentFor;
    bool closeMidway;
  } cases[] = {
      {"clock read", ReadClockJob, {}, false},
      {"no reply", CheckMemoJob, {"Rmem"}, false},
      {"download", DownloadJob, {}, false},
      {"closed during a download", DownloadJob, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dlg_.log.clear();
    logger_.silentFor = c.silentFor;
    if (c.closeMidway) {
      StartJob(dlg_, c.request);
      test::RunTicks(dlg_, 5);
      SyncFineTimers(dlg_, true);  // what closing the dialog does beside saving the settings
    } else {
      RunJob(c.request);
    }
    std::vector<std::string> holds;
    for (const auto& line : dlg_.log) {
      if (line.rfind("fine timers ", 0) == 0) holds.push_back(line);
    }
    EXPECT_EQ(holds, (std::vector<std::string>{"fine timers held", "fine timers released"}));
    EXPECT_EQ(Jobs.FineTimersHeld, 0);
    const auto held = std::find(dlg_.log.begin(), dlg_.log.end(), "fine timers held");
    const auto firstTick = std::find(dlg_.log.begin(), dlg_.log.end(), "timer- 100");
    EXPECT_LT(held, firstTick) << "held before the job's first tick";
    if (c.closeMidway) {
      ResetProgramState();
      dlg_.timers.clear();
    }
  }
}

TEST_F(JobsTest, SendFailureDuringTheDownloadNamesTheRead) {
  device_.responder = [this](const std::string& cmd) {
    writes_.push_back({cmd, dlg_.now});
    if (cmd == "Rdt0000\r") device_.failWrite = true;  // the cable goes after this command
    return logger_.Answer(cmd);
  };
  RunJob(DownloadJob);
  ASSERT_EQ(dlg_.boxes.size(), 1u);
  EXPECT_EQ(dlg_.boxes[0].text, "送信出来ません[TAVO] ！！");
  EXPECT_EQ(sink_.creates, 0);
}

// What a front end that keeps the season is told of the report.
struct ReportWatcher : ReadoutObserver {
  void OnHeaders(const char*, const char*, const char*) override {}
  void OnSample(int, const char*, std::uint32_t) override {}
  void OnReport(ReportResult r, const char* typedStamp) override {
    told.push_back({r, typedStamp != nullptr ? typedStamp : "(the logger's)"});
  }
  std::vector<std::pair<ReportResult, std::string>> told;
};

TEST_F(JobsTest, SpecialStartIsChosenWhenTheReportIsWritten) {
  struct Case {
    bool checkedAtPress;
    bool checkedAtEnd;
    const char* typed;
    const char* caption;  // nullptr: the stamp is refused
    const char* stampTold;
  } const cases[] = {
      {false, true, "200804141500", "開始時刻[2008-4-14 15:00]", "STR:200804141500"},
      {true, false, "200804141500", "開始時刻[2008-4-14 22:00]", "(the logger's)"},
      {true, true, "2008041415", nullptr, "STR:2008041415"},  // "STR:" and ten characters: too short
      {true, true, "2008041415009999", "開始時刻[2008-4-14 15:00]", "STR:200804141500999"},
  };
  ReportWatcher watcher;
  const ScopedReadoutObserver installWatcher(&watcher);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    watcher.told.clear();
    dlg_.boxes.clear();
    sink_.placed = "last season's report";
    dlg_.SetChecked(IDC_SPECIAL_START, c.checkedAtPress);
    dlg_.Type(IDC_SPECIAL_START_EDIT, c.typed);
    StartJob(dlg_, DownloadJob);
    test::RunTicksUntil(dlg_, [] { return Jobs.JobState == 14; }, 500);
    dlg_.SetChecked(IDC_SPECIAL_START, c.checkedAtEnd);
    test::RunTicksUntil(dlg_, [this] { return Jobs.BusyFlag == 0 && !device_.IsOpen(); }, 10);
    if (c.caption != nullptr) {
      EXPECT_NE(ReportText().find(c.caption), std::string::npos);
      EXPECT_TRUE(dlg_.boxes.empty());
    } else {
      ASSERT_EQ(dlg_.boxes.size(), 1u);
      EXPECT_EQ(dlg_.boxes[0].text, "年月日時分のデータが異常");
      EXPECT_EQ(sink_.placed, "last season's report");
      EXPECT_EQ(Jobs.LastOutcome.kind, Outcome::BadData);
    }
    const ReportResult result = c.caption != nullptr ? ReportResult::Written : ReportResult::BadStamp;
    EXPECT_EQ(watcher.told, (std::vector<std::pair<ReportResult, std::string>>{{result, c.stampTold}}));
  }
}

TEST_F(JobsTest, ButtonsAreOffWhileAJobRunsAndOnAfterIt) {
  StartJob(dlg_, CheckMemoJob);
  EXPECT_FALSE(dlg_.IsEnabled(IDC_DOWNLOAD));
  EXPECT_FALSE(dlg_.IsEnabled(IDC_CHECK_START));
  test::RunTicks(dlg_, 3);
  EXPECT_FALSE(dlg_.IsEnabled(IDC_CHECK_MEMO));
  EXPECT_EQ(dlg_.Text(IDC_SPINNER), "｜");
  test::RunTicksUntil(dlg_, [] { return Jobs.BusyFlag == 0; }, 100);
  EXPECT_TRUE(dlg_.IsEnabled(IDC_DOWNLOAD));
  EXPECT_TRUE(dlg_.IsEnabled(IDC_CHECK_START));
  EXPECT_EQ(dlg_.Text(IDC_SPINNER), "");
}

TEST_F(JobsTest, PressBetweenAJobsEndAndTheClosingTickKeepsThePort) {
  StartJob(dlg_, CheckPointerJob);
  test::RunTicksUntil(dlg_, [] { return Jobs.BusyFlag == 0; }, 100);
  ASSERT_TRUE(device_.IsOpen());
  ASSERT_EQ(Port.ClosePortFlag, 1);
  // The press opens the port again before the tick could close it.
  StartJob(dlg_, CheckMemoJob);
  EXPECT_EQ(device_.closes, 1);
  EXPECT_EQ(device_.opens.size(), 2u);
  test::RunTicksUntil(dlg_, [this] { return Jobs.BusyFlag == 0 && !device_.IsOpen(); }, 100);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"Rpt\r", "Rmem\r"}));
  EXPECT_TRUE(dlg_.boxes.empty());
  EXPECT_EQ(dlg_.Text(IDC_MEMO_CHECK_REPLY), "PADDY-NORTH     ");
}

TEST_F(JobsTest, UnknownRequestOrStateEndsQuietly) {
  ASSERT_EQ(OpenPort(dlg_), 0);
  device_.Arrive("stale");
  Jobs.PendingJob = 3;  // no job of that value
  Jobs.BusyFlag = 1;
  StepJobSequencer(dlg_);
  EXPECT_EQ(Jobs.BusyFlag, 0);
  EXPECT_EQ(Port.ClosePortFlag, 1);
  EXPECT_EQ(device_.Pending(), 0u) << "the line is drained";

  Port.ClosePortFlag = 0;
  Jobs.BusyFlag = 1;
  Jobs.JobState = 555;
  StepJobSequencer(dlg_);
  EXPECT_EQ(Jobs.BusyFlag, 0);
  EXPECT_EQ(Jobs.JobState, 0);
  EXPECT_EQ(Port.ClosePortFlag, 1);
}

TEST(StripLineBreaks, RemovesEveryCrAndLfOnly) {
  struct Case {
    const char* in;
    const char* out;
  } const cases[] = {
      {"\nABC\r", "ABC"}, {"\r", ""}, {"A\r\nB\n\rC", "ABC"}, {"メモ\r", "メモ"}, {"", ""},
  };
  for (const auto& c : cases) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s", c.in);
    StripLineBreaks(buf);
    EXPECT_STREQ(buf, c.out);
  }
}

}  // namespace
}  // namespace pt
