#include <climits>

#include "app/main_dialog.h"
#include "app/win32/app_windows.h"
#include "logger/exchange.h"
#include "logger/tick.h"

namespace pt {

Win32Dialog MainWin32Dialog;

namespace {

// The logic compares a command's whole wParam with control ids. A wParam wider than 32 bits is
// never one of them, so it must not be cut down into one.
unsigned WholeWParam(WPARAM wParam) {
  return wParam <= UINT_MAX ? static_cast<unsigned>(wParam) : UINT_MAX;
}

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  // The first message arrives while the dialog is still being created, before WM_INITDIALOG and
  // before CreateDialogParamW has returned its handle, so the window is bound here.
  if (MainWin32Dialog.Handle() != hwnd) MainWin32Dialog.Bind(hwnd, App.FrameWindow);
  OnDialogMessage(MainWin32Dialog);

  switch (msg) {
    case WM_INITDIALOG:
      CenterWindow(hwnd);
      InitMainDialog(MainWin32Dialog);
      return TRUE;
    case WM_COMMAND:
      OnDialogCommand(MainWin32Dialog, WholeWParam(wParam));
      return TRUE;
    case WM_TIMER:
      HandleTimer(MainWin32Dialog, WholeWParam(wParam));
      return FALSE;
    case WM_CLOSE:
      OnDialogClose(MainWin32Dialog);
      DestroyWindow(hwnd);
      App.MainDialogWindow = nullptr;
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace pt
