#include "app/main_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include "app/version_record.h"
#endif
#include "control_ids.h"
#include "logger/jobs.h"
#include "serial/port.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"
#include "app/program_state.h"

namespace pt {
namespace {

using test::FakeDialog;

const std::vector<int> kJobButtons = {1182, 1219, 1218, 1217, 1212, 1213, 1230, 1232};
const std::vector<int> kSpecialStart = {1227, 1229, 1226, 1225};
const std::vector<int> kStartRead = {1198, 1231};

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
#ifndef _WIN32
    savedRecord_ = BuiltInVersionRecord;
#endif
  }
  void TearDown() override {
#ifndef _WIN32
    BuiltInVersionRecord = savedRecord_;
#endif
  }

  // Where the version record is built in, a test can choose it; on Windows the test program's
  // own file has no version record at all.
  void UseVersionRecord([[maybe_unused]] const char* version, [[maybe_unused]] const char* copyright) {
#ifndef _WIN32
    BuiltInVersionRecord = {version, copyright};
#endif
  }

  std::vector<std::string> EnableLog() const {
    std::vector<std::string> out;
    for (const auto& line : dlg_.log) {
      if (line.rfind("enable ", 0) == 0) out.push_back(line);
    }
    return out;
  }

  FakeDialog dlg_;
  test::ScriptedDevice device_;
  ScopedPortDevice installDevice_{&device_};
#ifndef _WIN32
  VersionRecord savedRecord_{};
#endif
};

TEST_F(MainDialogTest, FirstMessageStartsTheTickTimerOnce) {
  OnDialogMessage(dlg_);
  OnDialogMessage(dlg_);
  EXPECT_EQ(std::count(dlg_.log.begin(), dlg_.log.end(), "timer+ 100 10"), 1);
  EXPECT_EQ(MainDialog.FirstMessageFlag, 0);
  EXPECT_EQ(MainDialog.TickRunning, 1);
}

TEST_F(MainDialogTest, InitialisationSetsLabelsPortListVersionAndSpeed) {
#ifdef _WIN32
  GTEST_SKIP() << "the test program carries no version record";
#endif
  UseVersionRecord("1, 2, 10, 3", "Copyright line");
  dlg_.SetChecked(IDC_SPEED_19200, true);
  InitMainDialog(dlg_);
  EXPECT_EQ(dlg_.Text(IDC_SAMPLE_COUNTER), "  ");
  for (int id : {1197, 1200, 1198, 1156, 1193}) EXPECT_EQ(dlg_.Text(id), "") << id;
  ASSERT_EQ(dlg_.comboItems[IDC_PORT_COMBO].size(), 20u);
  EXPECT_EQ(dlg_.comboItems[IDC_PORT_COMBO][9], "COM10");
  EXPECT_EQ(dlg_.ComboGetCurSel(IDC_PORT_COMBO), 0);
  EXPECT_EQ(dlg_.Text(IDC_VERSION), "V-1.2103");
  EXPECT_EQ(dlg_.Text(IDC_COPYRIGHT), "Copyright line");
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPEED_9600), 1);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPEED_19200), 0);
  for (int id : kSpecialStart) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;
  for (int id : kStartRead) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;
  for (int id : kJobButtons) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;
  // The order matters to a user only in what shows, but the labels are emptied before the list
  // is filled, and the speed is chosen last.
  EXPECT_EQ(dlg_.log.back(), "radio 1233 1234 1233");
}

TEST_F(MainDialogTest, MissingVersionRecordKeepsTheTemplateTexts) {
  UseVersionRecord(nullptr, nullptr);
  dlg_.texts[IDC_VERSION] = "V-0.00";
  dlg_.texts[IDC_COPYRIGHT] = "Static";
  InitMainDialog(dlg_);
  EXPECT_EQ(dlg_.Text(IDC_VERSION), "V-0.00");
  EXPECT_EQ(dlg_.Text(IDC_COPYRIGHT), "Static");
}

TEST(FormatVersionLabel, ReadsFourCommaSeparatedNumbers) {
  struct Case {
    const char* version;
    const char* label;
  } const cases[] = {
      {"2, 1, 0, 3", "V-2.103"}, {"2,1,0,3", "V-2.103"}, {"1,2,10,3", "V-1.2103"},
      {"1.2.3.4", "V-1.000"},    {"", "V-0.000"},        {"7", "V-7.000"},
      {"1 ,2,3,4", "V-1.000"},   {"x", "V-0.000"},       {"99999999999,1,1,1", "V-2147483647.111"},
  };
  for (const auto& c : cases) {
    char out[kVersionFieldSize];
    FormatVersionLabel(c.version, out);
    EXPECT_STREQ(out, c.label) << c.version;
  }
}

TEST_F(MainDialogTest, SpecialStartBoxSwitchesTheSetsOnlyWhenIdle) {
  InitMainDialog(dlg_);
  dlg_.SetChecked(IDC_SPECIAL_START, true);
  OnDialogCommand(dlg_, IDC_SPECIAL_START);
  for (int id : kSpecialStart) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;
  for (int id : kStartRead) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;

  dlg_.SetChecked(IDC_SPECIAL_START, false);
  OnDialogCommand(dlg_, IDC_SPECIAL_START);
  for (int id : kSpecialStart) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;
  for (int id : kStartRead) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;

  Jobs.BusyFlag = 1;
  dlg_.SetChecked(IDC_SPECIAL_START, true);
  OnDialogCommand(dlg_, IDC_SPECIAL_START);
  for (int id : kSpecialStart) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;
  for (int id : kStartRead) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;
}

TEST_F(MainDialogTest, EnablingRulesSwitchInListOrder) {
  dlg_.SetChecked(IDC_SPECIAL_START, true);
  Jobs.BusyFlag = 1;
  RefreshJobControls(dlg_);
  const std::vector<std::string> expected = {
      "enable 1182 0", "enable 1219 0", "enable 1218 0", "enable 1217 0", "enable 1212 0", "enable 1213 0",
      "enable 1230 0", "enable 1232 0", "enable 1227 0", "enable 1229 0", "enable 1226 0", "enable 1225 0",
      "enable 1198 0", "enable 1231 0"};
  EXPECT_EQ(EnableLog(), expected);

  dlg_.log.clear();
  dlg_.texts[IDC_SPINNER] = "｜";
  Jobs.BusyFlag = 0;
  RefreshJobControls(dlg_);
  EXPECT_EQ(dlg_.log.front(), "text 1201 []");  // the Spinner is emptied before anything is enabled
  for (int id : kJobButtons) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;
  for (int id : kSpecialStart) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;
  for (int id : kStartRead) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;

  // After a failed open the rule switches everything off, but only when it is applied.
  Port.PortOpenFlag = 0;
  RefreshJobControls(dlg_);
  for (int id : kJobButtons) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;
}

TEST_F(MainDialogTest, FailedOpenStartsNothingAndLeavesEveryButtonOn) {
  InitMainDialog(dlg_);
  device_.openError = 2;
  OnDialogCommand(dlg_, IDC_DOWNLOAD);
  ASSERT_EQ(dlg_.boxes.size(), 1u);
  EXPECT_EQ(dlg_.boxes[0].caption, "Error");
  EXPECT_EQ(dlg_.Text(IDC_PORT_STATUS), "[Disable]");
  EXPECT_EQ(Jobs.BusyFlag, 0);
  EXPECT_EQ(Jobs.PendingJob, 0);
  for (int id : kJobButtons) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;
  for (int id : kStartRead) EXPECT_TRUE(dlg_.IsEnabled(id)) << id;

  // The user chooses a port that works and presses again: the job starts.
  device_.openError = 0;
  dlg_.ComboSetCurSel(IDC_PORT_COMBO, 2);
  OnDialogCommand(dlg_, IDC_DOWNLOAD);
  EXPECT_EQ(device_.opens.back(), "COM3");
  EXPECT_EQ(dlg_.Text(IDC_PORT_STATUS), "[COM3,9600,8,E,1]");
  EXPECT_EQ(Jobs.BusyFlag, 1);
  EXPECT_EQ(Jobs.PendingJob, DownloadJob);
  for (int id : kJobButtons) EXPECT_FALSE(dlg_.IsEnabled(id)) << id;
}

TEST_F(MainDialogTest, IgnoresEverythingButItsOwnButtons) {
  InitMainDialog(dlg_);
  dlg_.log.clear();
  for (unsigned wParam : {1u, 2u, 1216u, 1214u, 1196u, 1233u, 1234u, 1223u, (1u << 16) | 1182u, (5u << 16) | 1223u}) {
    OnDialogCommand(dlg_, wParam);
  }
  EXPECT_TRUE(dlg_.log.empty());
  EXPECT_EQ(Jobs.BusyFlag, 0);
  EXPECT_TRUE(device_.opens.empty());
}

}  // namespace
}  // namespace pt
