#include "platform/win32/dialog_win32.h"

#include <commctrl.h>
#include <timeapi.h>

#include "platform/win32/sjis_wide.h"

namespace pt {

void Win32Dialog::Bind(HWND dialog, HWND frame) {
  dialog_ = dialog;
  frame_ = frame;
}

void Win32Dialog::SetItemText(int id, const char* text) {
  SetDlgItemTextW(dialog_, id, WideText(text).c_str());
}

int Win32Dialog::GetItemText(int id, char* buf, int size) {
  if (size <= 0) return 0;
  // size-1 UTF-16 units give at least size-1 Shift-JIS bytes whenever the text is that long,
  // so reading no more than that loses nothing the caller could hold.
  const int wideSize = size < kWideTextMax ? size : kWideTextMax;
  wchar_t wide[kWideTextMax];
  wide[0] = L'\0';
  const UINT got = GetDlgItemTextW(dialog_, id, wide, wideSize);
  wide[got < static_cast<UINT>(wideSize) ? got : wideSize - 1] = L'\0';
  return WideToSjisBounded(wide, buf, size);
}

int Win32Dialog::IsButtonChecked(int id) {
  return IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0;
}

void Win32Dialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  ::CheckRadioButton(dialog_, firstId, lastId, checkId);
}

void Win32Dialog::EnableItem(int id, bool enable) {
  EnableWindow(GetDlgItem(dialog_, id), enable ? TRUE : FALSE);
}

void Win32Dialog::ComboInsertString(int id, int pos, const char* text) {
  SendDlgItemMessageW(dialog_, id, CB_INSERTSTRING, static_cast<WPARAM>(pos),
                      reinterpret_cast<LPARAM>(WideText(text).c_str()));
}

void Win32Dialog::ComboSetCurSel(int id, int pos) {
  SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(pos), 0);
}

int Win32Dialog::ComboGetCurSel(int id) {
  const LRESULT sel = SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
  return sel < 0 ? -1 : static_cast<int>(sel);
}

// PBM_SETRANGE32: the whole int range, where PBM_SETRANGE packs both ends into 16 bits each.
void Win32Dialog::SetProgressRange(int id, int low, int high) {
  SendDlgItemMessageW(dialog_, id, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Win32Dialog::SetProgressPos(int id, int pos) {
  SendDlgItemMessageW(dialog_, id, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

void Win32Dialog::SetProgressStep(int id, int step) {
  SendDlgItemMessageW(dialog_, id, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void Win32Dialog::StepProgress(int id) { SendDlgItemMessageW(dialog_, id, PBM_STEPIT, 0, 0); }

void Win32Dialog::StartTimer(int id, unsigned periodMs) {
  SetTimer(dialog_, static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void Win32Dialog::StopTimer(int id) { KillTimer(dialog_, static_cast<UINT_PTR>(id)); }

void Win32Dialog::ShowMessage(const char* text, const char* caption, BoxOwner owner) {
  const HWND ownerWindow = (owner == BoxOwner::Frame && frame_ != nullptr) ? frame_ : dialog_;
  MessageBoxW(ownerWindow, WideText(text).c_str(), WideText(caption).c_str(), MB_OK);
}

void Win32Dialog::Beep() { MessageBeep(0); }

void Win32Dialog::HoldFineTimers(bool hold) {
  if (hold) {
    timeBeginPeriod(1);
  } else {
    timeEndPeriod(1);
  }
}

}  // namespace pt
