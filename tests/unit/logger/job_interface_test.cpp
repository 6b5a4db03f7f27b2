// The jobs as a front end without a window meets them: inputs applied in one call, the outcome
// and what the logger said read back in one, through the scripted logger.
#include "logger/job_interface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "app/program_state.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"
#include "support/tick_driver.h"
#include "unit/report/memory_sink.h"

namespace pt {
namespace {

TEST(JobInterface, InputsGoOutOnTheWireAndTheReportSaysWhatCameBack) {
  struct Case {
    const char* name;
    JobInputs in;
    std::string wire;
    Outcome outcome;
    std::string reply, refused;
    std::string memo, start, pointer;
    std::vector<std::uint32_t> samples;
  };
  const auto job = [](int request) {
    JobInputs in;
    in.request = request;
    return in;
  };
  JobInputs memo = job(WriteMemoJob);
  memo.memoSjis = "PADDY-2";
  JobInputs clock = job(SetClockJob);
  clock.clockSjis = "20080229235959";
  JobInputs period = job(SetPeriodJob);
  period.debugPeriod = true;
  const JobInputs download = job(DownloadJob);
  JobInputs typed = job(DownloadJob);
  typed.start = StartMinute{2008, 5, 1, 6, 30};
  const Case cases[] = {
      {"read-memo", job(ReadMemoJob), "Rmem\r", Outcome::Succeeded, "PADDY-NORTH     ", "", "", "", "", {}},
      {"check-pointer", job(CheckPointerJob), "Rpt\r", Outcome::Succeeded, "3", "", "", "", "", {}},
      {"write-memo", memo, "WmemPADDY-2         \r", Outcome::Succeeded, "PADDY-2         ", "", "", "", "", {}},
      {"set-clock", clock, "Cset20080229235959\r", Outcome::Succeeded, "20080229235959", "", "", "", "", {}},
      {"set-period refused", period, "Calm1\rCalm1\r", Outcome::Refused, "", "NG", "", "", "", {}},
      {"download", download, "Rmem\rRstr\rRpt\rRdt0000\rRdt0001\rRdt0002\r", Outcome::Succeeded, "", "",
       "PADDY-NORTH     ", "STR:200804142200", "3", {0x0130, 0x4194, 0x0234}},
      // The typed start dates the report; the start shown is still the logger's record.
      {"download, typed start", typed, "Rmem\rRstr\rRpt\rRdt0000\rRdt0001\rRdt0002\r", Outcome::Succeeded, "", "",
       "PADDY-NORTH     ", "STR:200804142200", "3", {0x0130, 0x4194, 0x0234}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProgramState();
    test::FakeDialog dlg;
    test::ScriptedDevice device(&dlg);
    test::MemorySink sink;
    const ScopedPortDevice installDevice(&device);
    const ScopedReportSink installSink(&sink);
    device.ReplyTo("Rmem\r", "\nPADDY-NORTH     \r");
    device.ReplyTo("Rstr\r", "\nSTR:200804142200\r");
    device.ReplyTo("Rpt\r", "\n3\r");
    device.ReplyTo("Rdt0000\r", "\n0130\r");
    device.ReplyTo("Rdt0001\r", "\n4194\r");
    device.ReplyTo("Rdt0002\r", "\n0234\r");
    device.ReplyTo("WmemPADDY-2         \r", "\nOK\r");
    device.ReplyTo("Cset20080229235959\r", "\nOK\r");
    device.ReplyTo("Calm1\r", "\nNG\r");

    ApplyJobInputs(dlg, c.in);
    ASSERT_TRUE(StartJob(dlg, c.in.request));
    EXPECT_FALSE(JobSettled());
    ASSERT_GT(test::RunTicksUntil(dlg, JobSettled, 5000), 0) << "the job never settled";
    EXPECT_EQ(device.Wire(), c.wire);

    const JobReport r = ReadJobReport(dlg, c.in.request);
    EXPECT_EQ(r.outcome.kind, c.outcome);
    EXPECT_EQ(r.reply, c.reply);
    EXPECT_EQ(r.refusedReply, c.refused);
    EXPECT_EQ(r.memo, c.memo);
    EXPECT_EQ(r.start, c.start);
    EXPECT_EQ(r.pointer, c.pointer);
    EXPECT_EQ(r.samples, c.samples);
    if (c.in.request == DownloadJob) {
      std::string report;
      for (const std::string& w : sink.writes) report += w;
      // The caption's start: the logger's 22:00 of 14 April, or the typed 6:00 of 1 May.
      EXPECT_NE(report.find(c.in.start ? "[2008-5-1 6:00]" : "[2008-4-14 22:00]"), std::string::npos) << report.substr(0, 600);
    }
  }
}

}  // namespace
}  // namespace pt
