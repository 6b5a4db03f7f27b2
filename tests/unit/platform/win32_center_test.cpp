// Centring arithmetic of the main dialog (portable), and the real move on Windows.
#include "app/win32/window_origin.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "app/win32/app_windows.h"
#endif

namespace pt {
namespace {

TEST(CenteredOrigin, SignedDivisionTruncatesTowardZero) {
  struct Case {
    int screenW, screenH, w, h, x, y;
  };
  const Case cases[] = {
      {1024, 768, 600, 400, 212, 184},
      {1025, 769, 600, 400, 212, 184},  // odd remainder drops toward zero
      {800, 600, 800, 600, 0, 0},
      {640, 480, 801, 611, -80, -65},   // smaller screen: -161/2 is -80, not -81
      {640, 480, 1000, 481, -180, 0},   // -1/2 is 0
  };
  for (const Case& c : cases) {
    const WindowOrigin o = CenteredOrigin(c.screenW, c.screenH, c.w, c.h);
    EXPECT_EQ(o.x, c.x) << c.screenW << " " << c.w;
    EXPECT_EQ(o.y, c.y) << c.screenH << " " << c.h;
  }
}

#ifdef _WIN32
TEST(CenterWindow, MovesWithoutResizing) {
  HWND hwnd = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_BORDER, 3, 5, 333, 177, nullptr, nullptr, nullptr, nullptr);
  if (hwnd == nullptr) GTEST_SKIP() << "no window can be created (no display)";
  CenterWindow(hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 333);
  EXPECT_EQ(r.bottom - r.top, 177);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 333) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 177) / 2);
  DestroyWindow(hwnd);
}

TEST(FrameWindow, HiddenFixedPlaceAndQuitsWhenDestroyed) {
  HWND frame = CreateFrameWindow(GetModuleHandleW(nullptr));
  if (frame == nullptr) GTEST_SKIP() << "no window can be created (no display)";
  EXPECT_FALSE(IsWindowVisible(frame));
  wchar_t text[16] = {};
  GetWindowTextW(frame, text, 16);
  EXPECT_STREQ(text, L"DCL");
  GetClassNameW(frame, text, 16);
  EXPECT_STREQ(text, L"LENS");
  RECT r{};
  GetWindowRect(frame, &r);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 320);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 240);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 400);
  EXPECT_EQ(GetWindowLongW(frame, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);

  DestroyWindow(frame);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
}
#endif

}  // namespace
}  // namespace pt
