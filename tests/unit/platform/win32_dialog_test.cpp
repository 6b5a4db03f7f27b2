// The Win32 Dialog against a real dialog window: Shift-JIS texts in and out through the
// wide-character functions, bounded reads, combo box, buttons and enabling.
#ifdef _WIN32
#include "platform/win32/dialog_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "control_ids.h"

namespace pt {
namespace {

INT_PTR CALLBACK PassiveDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG ? TRUE : FALSE; }

// One dialog for the suite (a visible window costs seconds to destroy under Wine without a window
// manager); each test uses controls of its own.
class Win32DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitCommonControls();
    hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, PassiveDlgProc, 0);
  }
  static void TearDownTestSuite() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  void SetUp() override {
    if (hwnd_ == nullptr) {
      HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
      if (probe == nullptr) GTEST_SKIP() << "no window can be created (no display)";
      DestroyWindow(probe);
      FAIL() << "dialog template 2 could not be created";
    }
    dlg_.Bind(hwnd_, nullptr);
  }
  static inline HWND hwnd_ = nullptr;
  Win32Dialog dlg_;
};

TEST_F(Win32DialogTest, TextRoundTripsAsShiftJisAndIsWideInside) {
  const char* texts[] = {"", "COM3", "[COM3,9600,8,E,1]", "ﾃｽﾄ半角", "田んぼ―温度～表", "[Disable]"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    dlg_.SetItemText(IDC_MEMO_REPLY, text);
    char back[80];
    EXPECT_EQ(dlg_.GetItemText(IDC_MEMO_REPLY, back, sizeof back), static_cast<int>(std::strlen(text)));
    EXPECT_STREQ(back, text);
  }
  // The window itself holds UTF-16: 田 is U+7530, whatever the system's ANSI code page is.
  dlg_.SetItemText(IDC_MEMO_REPLY, "田");
  wchar_t wide[8] = {};
  GetDlgItemTextW(hwnd_, IDC_MEMO_REPLY, wide, 8);
  EXPECT_EQ(wide[0], L'\x7530');
  EXPECT_EQ(wide[1], L'\0');
}

TEST_F(Win32DialogTest, GetItemTextIsBoundedAndNeverSplitsACharacter) {
  dlg_.SetItemText(IDC_MEMO_EDIT, "あいうABC");  // 6 bytes of kana, then 3 single bytes
  struct Case {
    int size;
    const char* expected;
  };
  const Case cases[] = {
      {1, ""}, {2, ""}, {3, "あ"}, {4, "あ"}, {5, "あい"}, {7, "あいう"}, {8, "あいうA"}, {10, "あいうABC"}, {80, "あいうABC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    char buf[96];
    std::memset(buf, 'x', sizeof buf);
    const int got = dlg_.GetItemText(IDC_MEMO_EDIT, buf, c.size);
    EXPECT_STREQ(buf, c.expected);
    EXPECT_EQ(got, static_cast<int>(std::strlen(c.expected)));
    EXPECT_EQ(buf[c.size], 'x') << "wrote past the buffer";
  }
  char untouched = 'x';
  EXPECT_EQ(dlg_.GetItemText(IDC_MEMO_EDIT, &untouched, 0), 0);
  EXPECT_EQ(untouched, 'x');
}

TEST_F(Win32DialogTest, ComboKeepsInsertionPositionsDespiteSortedStyle) {
  EXPECT_EQ(dlg_.ComboGetCurSel(IDC_PORT_COMBO), -1);
  dlg_.ComboInsertString(IDC_PORT_COMBO, 0, "COM2");
  dlg_.ComboInsertString(IDC_PORT_COMBO, 1, "COM10");
  dlg_.ComboInsertString(IDC_PORT_COMBO, 2, "COM1");
  const wchar_t* expected[] = {L"COM2", L"COM10", L"COM1"};
  ASSERT_EQ(SendDlgItemMessageW(hwnd_, IDC_PORT_COMBO, CB_GETCOUNT, 0, 0), 3);
  for (int i = 0; i < 3; ++i) {
    wchar_t item[16] = {};
    SendDlgItemMessageW(hwnd_, IDC_PORT_COMBO, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, expected[i]);
  }
  dlg_.ComboSetCurSel(IDC_PORT_COMBO, 2);
  EXPECT_EQ(dlg_.ComboGetCurSel(IDC_PORT_COMBO), 2);
  char shown[16];
  dlg_.GetItemText(IDC_PORT_COMBO, shown, sizeof shown);
  EXPECT_STREQ(shown, "COM1");
}

TEST_F(Win32DialogTest, RadioCheckAndEnable) {
  dlg_.CheckRadioButton(IDC_SPEED_9600, IDC_SPEED_19200, IDC_SPEED_9600);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPEED_9600), 1);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPEED_19200), 0);
  dlg_.CheckRadioButton(IDC_SPEED_9600, IDC_SPEED_19200, IDC_SPEED_19200);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPEED_9600), 0);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPEED_19200), 1);

  CheckDlgButton(hwnd_, IDC_SPECIAL_START, BST_CHECKED);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPECIAL_START), 1);
  CheckDlgButton(hwnd_, IDC_SPECIAL_START, BST_UNCHECKED);
  EXPECT_EQ(dlg_.IsButtonChecked(IDC_SPECIAL_START), 0);

  dlg_.EnableItem(IDC_DOWNLOAD, false);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd_, IDC_DOWNLOAD)));
  dlg_.EnableItem(IDC_DOWNLOAD, true);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd_, IDC_DOWNLOAD)));
}

TEST_F(Win32DialogTest, ProgressMessagesReachTheBar) {
  dlg_.SetProgressRange(IDC_PROGRESS, 0, 250);
  dlg_.SetProgressPos(IDC_PROGRESS, 40);
  dlg_.SetProgressStep(IDC_PROGRESS, 5);
  dlg_.StepProgress(IDC_PROGRESS);
  EXPECT_EQ(SendDlgItemMessageW(hwnd_, IDC_PROGRESS, PBM_GETPOS, 0, 0), 45);
  EXPECT_EQ(SendDlgItemMessageW(hwnd_, IDC_PROGRESS, PBM_GETRANGE, FALSE, 0), 250);
}

TEST_F(Win32DialogTest, TimerArrivesAsWmTimerOnTheDialogAndStops) {
  dlg_.StartTimer(100, 10);
  MSG msg{};
  bool ticked = false;
  // Bounded by a count of waits, not a clock: the check is that the message comes at all.
  for (int waits = 0; waits < 200 && !ticked; ++waits) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    while (PeekMessageW(&msg, hwnd_, WM_TIMER, WM_TIMER, PM_REMOVE)) {
      if (msg.wParam == 100) ticked = true;
    }
  }
  EXPECT_TRUE(ticked);
  dlg_.StopTimer(100);
  EXPECT_FALSE(KillTimer(hwnd_, 100)) << "the timer should already be gone";
}

}  // namespace
}  // namespace pt
#endif
