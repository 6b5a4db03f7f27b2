#pragma once
// What the driver does to the program's windows, as a person would with mouse and keyboard.
#include <windows.h>

#include <string>

namespace uidriver {

class Session {
 public:
  // Waits up to timeoutMs for a top-level window with this caption.
  bool FindDialog(const std::wstring& caption, DWORD timeoutMs);
  bool Alive() const { return dlg_ != nullptr && IsWindow(dlg_); }
  HWND dialog() const { return dlg_; }
  // The control with this id, or nullptr; id 0 stands for the dialog itself.
  HWND Control(int id) const;

  // A message box of the program's process (a #32770 window other than the dialog), or nullptr.
  HWND FindBox() const;
  // Presses the box's OK (or its only) button and waits until that box has gone.
  bool PressOk(HWND box, DWORD timeoutMs) const;

 private:
  HWND dlg_ = nullptr;
  DWORD pid_ = 0;
};

// WM_GETTEXT, bounded in time so that a hung program cannot hang the driver.
bool ReadText(HWND wnd, std::wstring& text);
bool WriteText(HWND wnd, const std::wstring& text);
// The text of a message box: its static control 0xFFFF, or failing that its longest static.
std::wstring BoxText(HWND box);
bool Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace uidriver
