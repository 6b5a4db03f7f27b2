#pragma once
// Where a window of a given size goes to sit in the middle of the screen. Kept free of Win32 so
// that the arithmetic is tested on every platform.

namespace pt {

struct WindowOrigin {
  int x;
  int y;
};

// On a screen smaller than the window the origin is negative and the window overhangs both edges
// alike: the division truncates toward zero, as signed integer division does.
constexpr WindowOrigin CenteredOrigin(int screenWidth, int screenHeight, int width, int height) {
  return WindowOrigin{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

}  // namespace pt
