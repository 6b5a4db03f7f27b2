// Dialog template 2 as the dialog manager builds it: every control in tab order with its id,
// class, tab-stop and group flags and its caption as the program reads it (Shift-JIS).
#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "control_ids.h"
#include "platform/win32/dialog_win32.h"
#include "platform/win32/sjis_wide.h"

namespace pt {
namespace {

INT_PTR CALLBACK PassiveDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG ? TRUE : FALSE; }

struct ControlRow {
  int id;
  const char* windowClass;
  bool tabStop;
  bool group;
  const char* caption;
};

constexpr bool kTab = true;
constexpr bool kGroup = true;

// Row order is the tab order.
const ControlRow kTemplate[] = {
    {1156, "Static", false, false, "[通信 COM1,             ]"},
    {1157, "Static", false, kGroup, "V-0.00"},
    {1022, "msctls_progress32", false, false, "Progress1"},
    {1182, "Button", kTab, false, "温度データ作成\r\n(TAVOVALU.HTML)"},
    {1169, "Static", false, kGroup, "Static"},
    {1193, "Static", false, kGroup, "Static"},
    {1197, "Static", false, kGroup, ""},
    {1198, "Static", false, kGroup, ""},
    {1200, "Static", false, kGroup, ""},
    {-1, "Button", false, false, "設定データ"},
    {1201, "Static", false, false, ""},
    {1210, "Static", false, kGroup, "Static"},
    {-1, "Button", false, false, "測定データ取得 （秋）"},
    {-1, "Button", false, false, "測定準備 （春）"},
    {-1, "Static", false, kGroup, "20080410181256"},
    {1212, "Button", kTab, false, "設定"},
    {1213, "Button", kTab, false, "設定"},
    {1214, "Button", kTab, false, "デバッグ用周期"},
    {1196, "Button", kTab, false, ""},
    {-1, "Button", false, false, "測定周期"},
    {-1, "Button", false, false, "現在日時"},
    {1216, "Edit", kTab, false, ""},
    {1222, "Static", false, kGroup, ""},
    {1217, "Button", kTab, false, "読出"},
    {1218, "Button", kTab, false, "設定"},
    {1219, "Button", kTab, false, "読出"},
    {1220, "Edit", kTab, false, ""},
    {1221, "Static", false, kGroup, ""},
    {-1, "Button", false, false, "メモ"},
    {-1, "Static", false, kGroup, "パソコン時間使用"},
    {-1, "Static", false, kGroup, "１６文字"},
    {1223, "ComboBox", kTab, false, ""},
    {1224, "Button", kTab, false, "スタート特別指定"},
    {1225, "Edit", kTab, false, ""},
    {1226, "Static", false, kGroup, "スタート"},
    {1227, "Static", false, kGroup, "200804141500"},
    {-1, "Button", false, false, ""},
    {1229, "Static", false, kGroup, "（１２文字）"},
    {1230, "Button", kTab, false, "メモ"},
    {1231, "Button", kTab, false, "スタート"},
    {1232, "Button", kTab, false, "ポインター"},
    {1233, "Button", false, false, "9600"},
    {1234, "Button", false, false, "19200"},
};

std::string SjisText(HWND hwnd) {
  wchar_t wide[256] = {};
  GetWindowTextW(hwnd, wide, 256);
  char sjis[512];
  WideToSjisBounded(wide, sjis, sizeof sjis);
  return sjis;
}

std::string ClassName(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// One dialog for the whole suite: these tests only read it, and making and destroying a visible
// window costs seconds under Wine without a window manager.
class DialogTemplate : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitCommonControls();
    dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, PassiveDlgProc, 0);
    createError_ = GetLastError();
  }
  static void TearDownTestSuite() {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    dialog_ = nullptr;
  }
  void SetUp() override {
    if (dialog_ != nullptr) return;
    // Without a display no window at all can be made; then there is nothing to check here.
    HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) GTEST_SKIP() << "no window can be created (no display)";
    DestroyWindow(probe);
    FAIL() << "dialog template 2 could not be created, error " << createError_;
  }
  static inline HWND dialog_ = nullptr;
  static inline DWORD createError_ = 0;
};

TEST_F(DialogTemplate, ControlsInTabOrderWithIdsClassesFlagsAndCaptions) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  ASSERT_EQ(children.size(), std::size(kTemplate));
  for (size_t i = 0; i < children.size(); ++i) {
    const ControlRow& row = kTemplate[i];
    const HWND child = children[i];
    SCOPED_TRACE("row " + std::to_string(i + 1) + ", id " + std::to_string(row.id));
    EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), row.id);
    EXPECT_STRCASEEQ(ClassName(child).c_str(), row.windowClass);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    EXPECT_EQ((style & WS_TABSTOP) != 0, row.tabStop);
    EXPECT_EQ((style & WS_GROUP) != 0, row.group);
    EXPECT_NE(style & WS_VISIBLE, 0);
    EXPECT_TRUE(IsWindowEnabled(child));
    // The combo box's text is its edit field's, which starts empty.
    EXPECT_EQ(SjisText(child), row.caption);
  }
}

TEST_F(DialogTemplate, WindowCaptionStylesAndKinds) {
  EXPECT_EQ(SjisText(dialog_), "田んぼ温度計用(HTML 4.01)");
  const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_NE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

  struct Kind {
    int id;
    LONG mask;
    LONG value;
  };
  const Kind kinds[] = {
      {IDC_DOWNLOAD, BS_MULTILINE, BS_MULTILINE},
      {IDC_SPEED_9600, BS_TYPEMASK, BS_AUTORADIOBUTTON},
      {IDC_SPEED_19200, BS_TYPEMASK, BS_AUTORADIOBUTTON},
      {IDC_SPECIAL_START, BS_TYPEMASK, BS_AUTOCHECKBOX},
      {IDC_DEBUG_PERIOD, BS_TYPEMASK, BS_AUTOCHECKBOX},
      {IDC_USE_PC_CLOCK, BS_TYPEMASK, BS_AUTOCHECKBOX},
      {IDC_PORT_COMBO, 0x3, CBS_DROPDOWN},
      {IDC_PORT_COMBO, CBS_SORT, CBS_SORT},
      {IDC_CLOCK_EDIT, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
      {IDC_MEMO_EDIT, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
      {IDC_MEMO_REPLY, SS_SUNKEN, SS_SUNKEN},
      {IDC_COPYRIGHT, SS_TYPEMASK, SS_RIGHT},
      {IDC_SPINNER, SS_TYPEMASK, SS_CENTER},
  };
  for (const Kind& k : kinds) {
    SCOPED_TRACE("id " + std::to_string(k.id));
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog_, k.id), GWL_STYLE) & k.mask, k.value);
  }
  // A bordered edit: the dialog manager turns WS_BORDER into a sunken client edge.
  for (int id : {IDC_CLOCK_EDIT, IDC_MEMO_EDIT, IDC_SPECIAL_START_EDIT}) {
    const HWND edit = GetDlgItem(dialog_, id);
    EXPECT_TRUE((GetWindowLongW(edit, GWL_STYLE) & WS_BORDER) || (GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        << id;
  }
}

// Relative placement in dialog units, checked through the dialog's own unit conversion.
TEST_F(DialogTemplate, PositionsInDialogUnits) {
  struct Place {
    int id;
    RECT units;  // x, y, width, height: the dialog manager converts each on its own
  };
  const Place places[] = {
      {IDC_PORT_STATUS, {7, 4, 89, 8}},     {IDC_DOWNLOAD, {11, 47, 118, 23}},
      {IDC_PROGRESS, {60, 16, 205, 11}},    {IDC_SPEED_19200, {141, 4, 36, 10}},
      {IDC_COPYRIGHT, {77, 204, 188, 8}},   {IDC_CHECK_POINTER, {14, 124, 35, 12}},
      {IDC_SET_PERIOD, {154, 174, 27, 12}},
  };
  for (const Place& p : places) {
    SCOPED_TRACE("id " + std::to_string(p.id));
    RECT expected = p.units;
    MapDialogRect(dialog_, &expected);
    RECT actual{};
    const HWND control = GetDlgItem(dialog_, p.id);
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right - actual.left, expected.right);
    EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
  }
}

}  // namespace
}  // namespace pt
#endif
