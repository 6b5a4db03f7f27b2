#include "serial/port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_ids.h"
#include "logger/exchange.h"
#include "support/fake_dialog.h"
#include "support/scripted_device.h"
#include "support/tick_driver.h"
#include "app/program_state.h"

namespace pt {
namespace {

using test::FakeDialog;
using test::ScriptedDevice;

class PortTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }

  // The user's choice as the dialog would hold it before a job button is handled.
  void Choose(int portIndex, bool at9600) {
    dlg.comboSel[IDC_PORT_COMBO] = portIndex;
    dlg.SetChecked(IDC_SPEED_9600, at9600);
    dlg.SetChecked(IDC_SPEED_19200, !at9600);
    ReadPortChoice(dlg);
    ReadSpeedChoice(dlg);
  }

  FakeDialog dlg;
  ScriptedDevice dev{&dlg};
  ScopedPortDevice installDevice{&dev};
};

TEST_F(PortTest, FillPortListKeepsTableOrderAndSelectsCurrentPort) {
  Port.Settings.port = 11;
  FillPortList(dlg);
  std::vector<std::string> expected;
  for (int n = 1; n <= 20; ++n) expected.push_back("COM" + std::to_string(n));
  EXPECT_EQ(dlg.comboItems[IDC_PORT_COMBO], expected);
  // Explicit positions, never a sorted add that would put COM10 before COM2.
  EXPECT_EQ(dlg.log[9], "combo+ 1223 9 [COM10]");
  EXPECT_EQ(dlg.ComboGetCurSel(IDC_PORT_COMBO), 11);
  EXPECT_EQ(dlg.log.size(), 21u);
}

TEST_F(PortTest, ChoicesReadFromTheDialog) {
  struct Case {
    int comboSel;
    int checked;  // 0: neither speed button
    int port, speed;
  };
  const Case cases[] = {
      {-1, IDC_SPEED_9600, 0, 4},
      {0, IDC_SPEED_19200, 0, 5},
      {9, 0, 9, 5},
      {19, IDC_SPEED_9600, 19, 4},
  };
  for (const Case& c : cases) {
    FakeDialog d;
    if (c.comboSel >= 0) d.comboSel[IDC_PORT_COMBO] = c.comboSel;
    if (c.checked != 0) d.SetChecked(c.checked, true);
    Port = PortState{};
    Port.Settings.port = 7;
    ReadPortChoice(d);
    ReadSpeedChoice(d);
    EXPECT_EQ(Port.Settings.port, c.port) << "selection " << c.comboSel;
    EXPECT_EQ(Port.Settings.speed, c.speed) << "button " << c.checked;
  }
}

TEST_F(PortTest, OpenConfiguresLineAndShowsStatus) {
  struct Case {
    int port;
    bool at9600;
    const char* path;
    const char* label;
    std::uint32_t rate;
  };
  const Case cases[] = {
      {2, true, "COM3", "[COM3,9600,8,E,1]", 9600},
      {11, false, "\\\\.\\COM12", "[COM12,19200,8,E,1]", 19200},
      {8, false, "COM9", "[COM9,19200,8,E,1]", 19200},
      {9, true, "\\\\.\\COM10", "[COM10,9600,8,E,1]", 9600},
      {19, true, "\\\\.\\COM20", "[COM20,9600,8,E,1]", 9600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Choose(c.port, c.at9600);
    ClosePort();
    ASSERT_EQ(OpenPort(dlg), 0);
    EXPECT_EQ(dev.opens.back(), c.path);
    EXPECT_EQ(dlg.Text(IDC_PORT_STATUS), c.label);
    EXPECT_EQ(Port.PortOpenFlag, 1);
    EXPECT_EQ(Port.ClosePortFlag, 0);
    EXPECT_TRUE(dlg.boxes.empty());
    const LineSettings& line = dev.lineSets.back();
    EXPECT_EQ(line.baudRate, c.rate);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_EQ(line.parity, 2);
    EXPECT_EQ(line.stopBits, 0);
  }
}

TEST_F(PortTest, EachFailureShowsOneBoxAndDisablesThePort) {
  struct Case {
    const char* name;
    void (*arrange)(ScriptedDevice&);
    std::string text;
    int closePortFlag;
    bool heldOpen;
  };
  const Case cases[] = {
      {"open", [](ScriptedDevice& d) { d.openError = 5; },
       "COM3 通信機能は使えません！\n   Error = 5\n他のアプリケーションが通信していませんか？\n"
       "通信ポート番号は正しいですか？\n通信ドライバーは正常ですか？\n",
       0, false},
      {"event mask", [](ScriptedDevice& d) { d.configureFailure = ConfigureError::Events; }, "SetCommMask()", 1, true},
      {"queue sizes", [](ScriptedDevice& d) { d.configureFailure = ConfigureError::Queues; }, "SetupComm", 1, true},
      {"line", [](ScriptedDevice& d) { d.configureFailure = ConfigureError::Line; }, "SetCommState", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDialog d;
    ScriptedDevice device(&d);
    c.arrange(device);
    SetPortDevice(&device);
    Port = PortState{};
    d.SetItemText(IDC_PORT_STATUS, "[COM3,9600,8,E,1]");
    d.comboSel[IDC_PORT_COMBO] = 2;
    ReadPortChoice(d);
    int flagWhileBoxUp = -1;
    d.onBox = [&](const test::FakeBox&) { flagWhileBoxUp = Port.ClosePortFlag; };

    EXPECT_EQ(OpenPort(d), -1);
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0].text, c.text);
    EXPECT_EQ(d.boxes[0].caption, "Error");
    EXPECT_EQ(d.boxes[0].owner, BoxOwner::Dialog);
    EXPECT_EQ(flagWhileBoxUp, 0);
    EXPECT_EQ(d.Text(IDC_PORT_STATUS), "[Disable]");
    EXPECT_EQ(Port.PortOpenFlag, 0);
    EXPECT_EQ(Port.ClosePortFlag, c.closePortFlag);
    EXPECT_EQ(device.IsOpen(), c.heldOpen);

    d.StartTimer(kTickTimerId, kTickTimerMs);
    test::RunTicks(d, 1);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.closes, c.heldOpen ? 1 : 0);
    EXPECT_EQ(Port.ClosePortFlag, 0);
  }
}

TEST_F(PortTest, OpenErrorBytesAreShiftJis) {
  dev.openError = 2;
  Choose(19, false);
  ASSERT_EQ(OpenPort(dlg), -1);
  const std::string& text = dlg.boxes.at(0).text;
  // "COM20 通" : the display name, not the device path, then the first kanji as 92 CA.
  ASSERT_GE(text.size(), 8u);
  EXPECT_EQ(text.substr(0, 6), "COM20 ");
  EXPECT_EQ(static_cast<unsigned char>(text[6]), 0x92);
  EXPECT_EQ(static_cast<unsigned char>(text[7]), 0xCA);
  EXPECT_NE(text.find("\n   Error = 2\n"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(dev.opens.back(), "\\\\.\\COM20");
}

TEST_F(PortTest, NoDeviceInstalledFailsLikeAnOpen) {
  SetPortDevice(nullptr);
  Choose(0, true);
  EXPECT_EQ(OpenPort(dlg), -1);
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_NE(dlg.boxes[0].text.find("Error = -1\n"), std::string::npos);
  EXPECT_EQ(Port.PortOpenFlag, 0);
  EXPECT_EQ(Port.ClosePortFlag, 0);
  ClosePort();  // nothing held, nothing to close
}

TEST_F(PortTest, RetryAfterFailureRestoresStatus) {
  dev.configureFailure = ConfigureError::Line;
  Choose(2, true);
  ASSERT_EQ(OpenPort(dlg), -1);
  dev.configureFailure = ConfigureError::None;
  // Pressed again before the tick closed the half-configured device: it is closed, not leaked.
  ASSERT_EQ(OpenPort(dlg), 0);
  EXPECT_EQ(dev.closes, 1);
  EXPECT_EQ(dev.opens.size(), 2u);
  EXPECT_EQ(dlg.Text(IDC_PORT_STATUS), "[COM3,9600,8,E,1]");
  EXPECT_EQ(Port.PortOpenFlag, 1);
  // The pending close was that one; the next tick must leave the fresh device open.
  EXPECT_EQ(Port.ClosePortFlag, 0);
  dlg.StartTimer(kTickTimerId, kTickTimerMs);
  test::RunTicks(dlg, 2);
  EXPECT_TRUE(dev.IsOpen());
}

TEST_F(PortTest, ClosePortClosesOnceAndTouchesNothingElse) {
  Choose(2, false);
  ASSERT_EQ(OpenPort(dlg), 0);
  Port.PortOpenFlag = 1;
  ClosePort();
  ClosePort();
  EXPECT_EQ(dev.closes, 1);
  EXPECT_EQ(Port.PortOpenFlag, 1);
  EXPECT_EQ(Port.ClosePortFlag, 0);
  EXPECT_EQ(dlg.Text(IDC_PORT_STATUS), "[COM3,19200,8,E,1]");
}

}  // namespace
}  // namespace pt
