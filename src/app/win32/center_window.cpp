#include "app/win32/app_windows.h"
#include "app/win32/window_origin.h"

namespace pt {

void CenterWindow(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);  // the outer rectangle: frame and title bar included
  const WindowOrigin origin = CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                             rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(hwnd, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace pt
