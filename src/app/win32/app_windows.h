#pragma once
// The process-wide window handles of the Windows program.
#include <windows.h>

#include "platform/win32/dialog_win32.h"

namespace pt {

struct AppWindows {
  HINSTANCE Instance = nullptr;
  HWND FrameWindow = nullptr;
  // The main dialog while it exists; the message loop offers it the keyboard messages.
  HWND MainDialogWindow = nullptr;
};
extern AppWindows App;

// The main dialog as the program's logic sees it.
extern Win32Dialog MainWin32Dialog;

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MainDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers the frame window class and creates the hidden frame window; returns it.
HWND CreateFrameWindow(HINSTANCE instance);

// Moves a top-level window to the middle of the screen without resizing or activating it.
void CenterWindow(HWND hwnd);

}  // namespace pt
