// The entry point of paddytherm.exe: the hidden frame, the main dialog and the one message loop.
#include "app/win32/app_windows.h"

#include <commctrl.h>

#include "app/win32/messages.h"
#include "control_ids.h"
#include "logger/jobs.h"
#include "season/pages/kept_season.h"
#include "serial/platform_serial_device.h"
#include "serial/port.h"

namespace pt {

AppWindows App;

namespace {

// Every season read is kept in a folder beside the report, named after the paddy and its start.
season::SeasonKeeper SeasonsKept{season::kSeasonsFolder, season::PortReadoutNow};

int RunMessageLoop() {
  // The program carries no accelerator table, so this finds none and nothing is translated.
  const HACCEL accelerators = LoadAcceleratorsW(App.Instance, L"LENS");
  MSG msg{};
  // 0 is the quit message; -1 (a broken call) must end the loop too rather than spin on it.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (App.MainDialogWindow != nullptr && IsDialogMessageW(App.MainDialogWindow, &msg)) continue;
    if (accelerators != nullptr && TranslateAcceleratorW(App.FrameWindow, accelerators, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int Run(HINSTANCE instance, int showCommand) {
  // The dialog's progress bar is a common control; its class must exist before the dialog.
  InitCommonControls();
  SetPortDevice(&PlatformSerialDevice());
  SetReadoutObserver(&SeasonsKept);

  App.Instance = instance;
  App.FrameWindow = CreateFrameWindow(instance);

  const HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), App.FrameWindow, MainDlgProc, 0);
  App.MainDialogWindow = dialog;
  if (dialog == nullptr) {
    MessageBoxW(App.FrameWindow, kMainDialogFailedText, kMainDialogFailedCaption, MB_OK);
    PostQuitMessage(0);
  }
  if (dialog != nullptr) ShowWindow(dialog, showCommand);
  return RunMessageLoop();
}

}  // namespace pt

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  (void)previous;     // always none on Win32
  (void)commandLine;  // the program takes nothing from its command line
  return pt::Run(instance, showCommand);
}
