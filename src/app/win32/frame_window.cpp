#include "app/win32/app_windows.h"
#include "serial/port.h"

namespace pt {

namespace {
constexpr wchar_t kFrameClass[] = L"LENS";
}

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY:
      ClosePort();
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_TIMER:
    case WM_LBUTTONDOWN:
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

HWND CreateFrameWindow(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = FrameWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kFrameClass;
  RegisterClassW(&wc);  // a failure shows up as a missing frame, which the dialog survives

  // The frame only owns the dialog and the message boxes; it is never shown. Its place is fixed
  // by the screen's middle, not by its own size.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 320;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 240;
  return CreateWindowExW(0, kFrameClass, L"DCL", WS_OVERLAPPEDWINDOW, x, y, 600, 400, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace pt
